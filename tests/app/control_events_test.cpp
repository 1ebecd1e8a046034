#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "app/adapters/gbk.h"
#include "app/editor_app.h"
#include "app/window/command_item.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "support/fake_services.h"

// Control events delivered the way the platform delivers them (mouse and keys through Qt's
// event dispatch), for the bindings whose other tests raise the event's signal themselves.
// The lists, pictures, panels, drops and shortcuts are driven the same way in their own tests.

namespace {

struct ControlEventsTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(harness.startActive()) << "waited for the window to be active";
  }
  app::MainWindow& window() { return harness.window(); }
  // A press and release at `at` in `target`, through the window as the platform sends it.
  void press(QWidget* target, Qt::MouseButton button, QPoint at) {
    const QPoint inWindow = target->mapTo(&window(), at);
    QTest::mousePress(window().windowHandle(), button, {}, inWindow);
    QTest::mouseRelease(window().windowHandle(), button, {}, inWindow);
  }

  testsupport::EditorHarness harness;
};

}  // namespace

TEST_F(ControlEventsTest, AClickOnEveryToolbarButtonRaisesItsAction) {
  int buttons = 0;
  for (QToolBar* bar : {window().tagToolBar(), window().playbackToolBar()}) {
    for (QAction* action : bar->actions()) {
      if (action->isSeparator()) continue;
      SCOPED_TRACE(app::commandOf(action).toStdString());
      ++buttons;
      QWidget* button = bar->widgetForAction(action);
      ASSERT_NE(button, nullptr);
      QSignalSpy triggered(action, &QAction::triggered);
      QTest::mouseClick(button, Qt::LeftButton);
      EXPECT_EQ(triggered.count(), 1);
    }
  }
  EXPECT_EQ(buttons, 9);
  // The clicks reached the commands: 打开 asked for a song, 另存 for a file to write and 播放
  // for a song again, as none was chosen.
  std::vector<std::string> titles;
  for (const auto& dialog : harness.dialogs.opened) titles.push_back(dialog.title);
  const std::string openAudio = app::toGbk(QStringLiteral("tolva_打开音频文件"));
  EXPECT_EQ(titles, (std::vector<std::string>{openAudio, "", openAudio}));
}

TEST_F(ControlEventsTest, TheSongListOpensItsPopupOnARightPressOverASelectedRow) {
  QMenu* popup = window().menus().popup(QStringLiteral("超级编辑框菜单"));
  QTreeWidget* list = window().songList();
  press(list->viewport(), Qt::RightButton, QPoint(20, 5));
  EXPECT_FALSE(popup->isVisible());  // no row

  harness.dialogs.choice = "/m/Song.mp3";
  window().menus().action(QStringLiteral("OpenAudioFile"))->trigger();
  ASSERT_EQ(list->topLevelItemCount(), 1);
  const QPoint onRow = list->visualItemRect(list->topLevelItem(0)).center();
  // The press selects the row under the pointer before the pop-up is asked for.
  press(list->viewport(), Qt::RightButton, onRow);
  EXPECT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000));
  const QPoint expected = list->viewport()->mapToGlobal(onRow) + QPoint(3, 3);
  EXPECT_EQ(popup->pos(), expected);
  popup->hide();
}

TEST_F(ControlEventsTest, TypingInTheSongAndSingerBoxesWritesTheStatusBar) {
  QTest::keyClicks(window().headerEdit(lyrics::HeaderFields::Song), QStringLiteral("Sunny"));
  EXPECT_EQ(window().statusLabel(3)->text(), QStringLiteral("歌曲:Sunny"));
  QTest::keyClicks(window().headerEdit(lyrics::HeaderFields::Singer), QStringLiteral("J"));
  EXPECT_EQ(window().statusLabel(2)->text(), QStringLiteral("歌手:J"));
  QTest::keyClick(window().headerEdit(lyrics::HeaderFields::Singer), Qt::Key_Backspace);
  EXPECT_EQ(window().statusLabel(2)->text(), QStringLiteral("歌手:"));
}

TEST_F(ControlEventsTest, TheSignatureButtonsAndTheVolumeSliderAnswerTheMouseAndKeys) {
  auto* panel = window().control<QGroupBox>(QStringLiteral("分组框_配置个性签名"));
  const QPoint parked = panel->pos();
  window().menus().action(QStringLiteral("SetSignature"))->trigger();
  ASSERT_NE(panel->pos(), parked);
  QTest::mouseClick(window().control<QPushButton>(QStringLiteral("按钮_关闭")), Qt::LeftButton);
  EXPECT_EQ(panel->pos(), parked);

  window().menus().action(QStringLiteral("SetSignature"))->trigger();
  QTest::mouseClick(window().control<QPushButton>(QStringLiteral("按钮_个性签名")), Qt::LeftButton);
  EXPECT_EQ(panel->pos(), parked);
  EXPECT_NE(harness.home.read("program/GEXINGQIANMING.ini").find("[GEXINGQIANMING]"),
            std::string::npos);

  QSlider* slider = window().volumeSlider();
  const std::size_t sets = harness.fakeMasterVolume.sets.size();
  const int before = slider->value();
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(slider->value(), before + 5);
  EXPECT_EQ(harness.fakeMasterVolume.sets.size(), sets + 1);
  EXPECT_EQ(window().control<QLabel>(QStringLiteral("标签_右1"))->text(),
            QString::number(before + 5));
}
