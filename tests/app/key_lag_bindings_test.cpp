#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/editor_app.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "lyrics/tag_corrections.h"
#include "platform/monotonic_clock.h"
#include "playback/playback_texts.h"
#include "support/fake_services.h"

namespace {

// The real editor, shown offscreen and active so its shortcut keys work, with a song playing
// at 12.00 s as heard.
struct Editor {
  Editor() {
    EXPECT_TRUE(harness.startActive()) << "waited for the window to be active";
    state().lyrics.replaceAll({"a", "b", "c", "d"});
    state().lyrics.setSelection(0);
    state().playback.setCurrentSong("/s.mp3", "s.mp3", playback::texts::mp3Format());
    editor().commands().run("PlaySong");
    harness.fakePlayer.position = playback::PositionSample{12.0, platform::SteadyClock::now()};
  }
  app::EditorApp& editor() { return *harness.editor; }
  app::MainWindow& window() { return editor().window(); }
  app::EditorState& state() { return editor().state(); }
  QAction* item(const char* command) { return window().menus().action(QString::fromUtf8(command)); }
  // Runs `answer` on the modal dialog once it shows; the dialog must be 窗口_按键延迟补偿.
  static void whenDialogShows(std::function<void(QWidget&)> answer) {
    QTimer::singleShot(0, [answer] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr) << "no modal dialog";
      EXPECT_EQ(dialog->objectName(), QStringLiteral("窗口_按键延迟补偿"));
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("按键延迟补偿"));
      // A dialog counts as active with its parent; the keys go to it once it has the keyboard.
      EXPECT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
          << "waited for the dialog to take the keyboard";
      answer(*dialog);
    });
  }
  // Gives the keyboard back to the main window, as the desktop does when a dialog closes.
  void backToWindow() {
    window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window())) << "waited for the window to be active";
  }
  static void click(QWidget& dialog, const QString& caption) {
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
      if (button->text() == caption) QTest::mouseClick(button, Qt::LeftButton);
    }
  }

  testsupport::EditorHarness harness;
};

}  // namespace

TEST(KeyLagBindings, TurningOnAsksForTheLagAndOnlyKeyStampsTakeItOff) {
  Editor e;
  QAction* toggle = e.item("ToggleKeyLagCompensation");
  QAction* tagButton = e.window().tagButton();
  EXPECT_FALSE(toggle->isChecked());
  Editor::whenDialogShows([](QWidget& dialog) { Editor::click(dialog, QStringLiteral("取消")); });
  toggle->trigger();
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_FALSE(e.state().keyLag.lagMs());

  Editor::whenDialogShows([](QWidget& dialog) {
    auto* lag = dialog.findChild<QSpinBox*>(QStringLiteral("数值框_按键延迟"));
    ASSERT_NE(lag, nullptr);
    EXPECT_EQ(lag->minimum(), 0);
    EXPECT_EQ(lag->maximum(), 500);
    lag->setValue(180);
    Editor::click(dialog, QStringLiteral("确定"));
  });
  toggle->trigger();
  EXPECT_TRUE(toggle->isChecked());
  EXPECT_EQ(e.harness.home.read("config/qinghe-lrc-editor/settings.ini"),
            "[key-lag]\r\nmilliseconds=180\r\nenabled=1\r\n");
  EXPECT_EQ(tagButton->toolTip(), QStringLiteral("加入时间标签\n当前补偿 0.18 秒"));
  EXPECT_EQ(toggle->statusTip(), QStringLiteral("当前补偿 0.18 秒"));

  // F5 and Shift+F5 take the lag off; a double-click and the shown time do not.
  e.backToWindow();
  QTest::keyClick(e.window().lyricsView(), Qt::Key_F5);
  app::LyricsListView* view = e.window().lyricsView();
  const QPoint row1 = view->visualRect(view->model()->index(1, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row1);
  QTest::keyClick(view, Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(tagButton->text(), QStringLiteral("加入标签:[00:12.00]"));

  toggle->trigger();
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_EQ(tagButton->toolTip(), QStringLiteral("加入时间标签"));
  QTest::keyClick(view, Qt::Key_F5);
  EXPECT_EQ(e.state().lyrics.lines(), (std::vector<std::string>{"[00:11.82]a", "[00:12.00]b",
                                                                "[00:11.82]c", "[00:12.00]d"}));
  EXPECT_TRUE(e.harness.prompter.shown.empty());
}

// Compensation on or off, a key stamps the moment the window system stamped it with, not the
// moment it was handled; a synthetic key (stamped 0) or one handled long ago reads the time now.
TEST(KeyLagBindings, AKeyStampsTheMomentItWasPressed) {
  Editor e;
  const auto pressAt = [&e](std::int64_t agoMs) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    press.setTimestamp(
        agoMs < 0 ? 0 : static_cast<quint64>(platform::SteadyClock::now() / 1'000'000 - agoMs));
    QApplication::sendEvent(e.window().lyricsView(), &press);
  };
  // 40 ms before 12.00 s, or a little earlier still when the test itself was held up.
  pressAt(40);
  const auto stamped = lyrics::leadingTimeTag(e.state().pressTags.currentTag());
  ASSERT_TRUE(stamped);
  EXPECT_LE(stamped->first, 1196);
  EXPECT_GE(stamped->first, 1190);
  pressAt(-1);
  EXPECT_EQ(e.state().pressTags.currentTag(), "[00:12.00]");
  pressAt(40);
  QTest::qWait(40);  // the press was handled; what stamps now is something else
  EXPECT_EQ(e.state().pressTags.currentTag(), "[00:12.00]");
}

TEST(KeyLagBindings, MeasuringTakesF5AndSpaceAndTooFewPressesLeaveTheNumber) {
  Editor e;
  e.state().keyLag.storeLag(120);
  QString said;
  int presses = 0;
  Editor::whenDialogShows([&](QWidget& dialog) {
    auto* lag = dialog.findChild<QSpinBox*>(QStringLiteral("数值框_按键延迟"));
    auto* measure = dialog.findChild<QAbstractButton*>(QStringLiteral("按钮_测量"));
    ASSERT_TRUE(lag && measure);
    EXPECT_EQ(lag->value(), 120);
    QTest::mouseClick(measure, Qt::LeftButton);
    // The song was paused and the sounds took the player.
    EXPECT_EQ(e.state().playback.state(), playback::PlaybackState::Paused);
    ASSERT_FALSE(e.harness.fakePlayer.calls.empty());
    EXPECT_NE(e.harness.fakePlayer.calls.back().find("key-lag-sounds-"), std::string::npos);
    EXPECT_EQ(QApplication::focusWidget(), &dialog);
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
      EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << button->text().toStdString();
    }
    e.harness.fakePlayer.position = playback::PositionSample{3.0, platform::SteadyClock::now()};
    QTest::keyClick(&dialog, Qt::Key_Space);
    QTest::keyClick(&dialog, Qt::Key_F5);
    QTest::keyClick(&dialog, Qt::Key_Space);
    EXPECT_TRUE(dialog.isVisible());
    e.harness.fakePlayer.listener->onPlayProgress(100);
    said = dialog.findChild<QLabel*>(QStringLiteral("标签_测量结果"))->text();
    presses = lag->value();
    EXPECT_TRUE(measure->isEnabled());
    Editor::click(dialog, QStringLiteral("取消"));
  });
  e.item("ShowKeyLagDialog")->trigger();
  EXPECT_TRUE(said.startsWith(QStringLiteral("共按 3 次，只有 ")) &&
              said.contains(QStringLiteral("按键延迟没有改变")))
      << said.toStdString();
  EXPECT_EQ(presses, 120);
  EXPECT_EQ(e.state().keyLag.lagMs(), 120);
  // The song is back in the player, paused where it was.
  EXPECT_EQ(e.harness.fakePlayer.calls.back(), "pause");
  EXPECT_EQ(e.harness.fakePlayer.listener, &e.state().playback);
}
