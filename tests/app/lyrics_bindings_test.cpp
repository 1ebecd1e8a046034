#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include "app/window/lyrics_list_view.h"

#include "app/bindings/playback_bindings.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "files/recovery_file.h"
#include "support/fake_services.h"

namespace {

// The real editor window, shown offscreen and active so its shortcut keys work.
struct Editor {
  Editor() {
    EXPECT_TRUE(harness.startActive()) << "waited for the window to be active";
  }
  app::MainWindow& window() { return editor->window(); }
  lyrics::LyricsList& list() { return editor->state().lyrics; }
  app::LyricsListView* view() { return window().lyricsView(); }
  QPoint rowCentre(int row) { return view()->visualRect(view()->model()->index(row, 0)).center(); }
  // A double-click as the platform delivers it: press, release, double-click, release.
  void doubleClick(int row) {
    const QPoint at = rowCentre(row);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, at);
  }
  // A double-click at `at` in the list's viewport as the platform delivers it: through the
  // window, which turns the second press into the double-click.
  void doubleClickAt(QPoint at, Qt::MouseButton button) {
    QWindow* handle = window().windowHandle();
    const QPoint inWindow = view()->viewport()->mapTo(&window(), at);
    QTest::mouseDClick(handle, button, {}, inWindow);
    QTest::mouseRelease(handle, button, {}, inWindow);
  }
  void load(std::initializer_list<const char*> lines) {
    list().clear();
    for (const char* line : lines) list().appendLine(line);
  }

  testsupport::EditorHarness harness;
  testsupport::TempDir& dir = harness.home;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  testsupport::ScriptedDialogs& dialogs = harness.dialogs;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
};

// A pointer move over the preview box at `y` in box coordinates, as the viewport receives it.
void moveOver(QPlainTextEdit* box, int y) {
  const QPoint at = box->viewport()->mapFrom(box, QPoint(100, y));
  QMouseEvent move(QEvent::MouseMove, at, box->viewport()->mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &move);
}

}  // namespace

TEST(LyricsBindings, F5StampsTheSelectedLineAndSelectsTheNext) {
  Editor e;
  e.load({"one", "two"});
  e.editor->state().currentTag.set("[00:05.20]");
  e.list().setSelection(0);
  e.view()->setFocus();
  QTest::keyClick(e.view(), Qt::Key_F5);
  EXPECT_EQ(e.list().line(0), "[00:05.20]one");
  EXPECT_EQ(e.list().selection(), 1);
  EXPECT_EQ(e.view()->currentIndex().row(), 1);

  e.window().findChild<QAction*>(QStringLiteral("工具条_标签加入_1"))->trigger();
  EXPECT_EQ(e.list().line(1), "[00:05.20]two");
  e.window().findChild<QAction*>(QStringLiteral("工具条_标签加入_3"))->trigger();
  EXPECT_EQ(e.list().line(1), "two");
  EXPECT_TRUE(e.prompter.shown.empty());
}

TEST(LyricsBindings, DoubleClickFollowsTheMenuChecks) {
  Editor e;
  e.load({"[00:01.00]a", "b", "c"});
  e.editor->state().currentTag.set("[00:09.00]");
  QAction* adds = e.window().menus().action(QStringLiteral("ToggleDoubleClickAdd"));
  QAction* deletes = e.window().menus().action(QStringLiteral("ToggleDoubleClickDelete"));
  EXPECT_TRUE(adds->isChecked());
  EXPECT_FALSE(deletes->isChecked());

  e.doubleClick(1);
  EXPECT_EQ(e.list().line(1), "[00:09.00]b");
  EXPECT_EQ(e.list().selection(), 2);

  deletes->trigger();
  EXPECT_FALSE(adds->isChecked());
  EXPECT_TRUE(deletes->isChecked());
  e.doubleClick(0);
  EXPECT_EQ(e.list().line(0), "a");
  EXPECT_EQ(e.list().selection(), 0);

  deletes->trigger();
  EXPECT_FALSE(adds->isChecked());
  EXPECT_FALSE(deletes->isChecked());
  e.doubleClick(1);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"a", "[00:09.00]b", "c"}));
  EXPECT_EQ(e.list().selection(), 1);
  EXPECT_TRUE(e.prompter.shown.empty());
}

TEST(LyricsBindings, ADoubleClickAnywhereOnTheListRunsTheDoubleClickCommand) {
  Editor e;
  e.editor->state().currentTag.set("[00:09.00]");
  const QPoint belowTheLines(100, e.view()->viewport()->height() - 10);
  QMenu* popup = e.window().menus().popup(QStringLiteral("列表框编辑歌词"));

  // An empty list has no line to stamp.
  e.doubleClickAt(belowTheLines, Qt::LeftButton);
  ASSERT_EQ(e.prompter.shown.size(), 1u);
  EXPECT_EQ(e.prompter.shown[0].text, "\xC7\xEB\xB5\xBC\xC8\xEB\xB8\xE8\xB4\xCA");  // 请导入歌词
  EXPECT_EQ(e.prompter.shown[0].title, "tolva");
  EXPECT_EQ(e.prompter.shown[0].icon, platform::MessageIcon::Warning);

  e.load({"[00:01.00]a", "b", "c"});
  e.list().setSelection(1);
  ASSERT_FALSE(e.view()->indexAt(belowTheLines).isValid());
  e.doubleClickAt(belowTheLines, Qt::LeftButton);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"[00:01.00]a", "[00:09.00]b", "c"}));
  EXPECT_EQ(e.list().selection(), 2);

  // Neither the right nor the middle button tags, below the lines or on one.
  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    for (const QPoint at : {belowTheLines, e.rowCentre(2)}) {
      e.doubleClickAt(at, button);
      popup->hide();
    }
  }
  EXPECT_EQ(e.list().line(2), "c");

  e.window().menus().action(QStringLiteral("ToggleDoubleClickDelete"))->trigger();
  e.list().setSelection(0);
  e.doubleClickAt(belowTheLines, Qt::LeftButton);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"a", "[00:09.00]b", "c"}));
  EXPECT_EQ(e.list().selection(), 0);
  EXPECT_EQ(e.prompter.shown.size(), 1u);
}

TEST(LyricsBindings, DelDeletesTheSelectedLineAndRightClickKeepsTheSelection) {
  Editor e;
  e.load({"a", "b", "c"});
  e.list().setSelection(1);
  e.view()->setFocus();
  QTest::keyClick(e.view(), Qt::Key_Delete);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(e.list().selection(), 1);

  QMenu* popup = e.window().menus().popup(QStringLiteral("列表框编辑歌词"));
  QTest::mouseClick(e.view()->viewport(), Qt::RightButton, {}, e.rowCentre(0));
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->pos(), e.view()->viewport()->mapToGlobal(e.rowCentre(0)) + QPoint(3, 3));
  EXPECT_EQ(e.list().selection(), 1);
  e.window().menus().popupAction(QStringLiteral("MoveLineUp"))->trigger();
  popup->hide();
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"c", "a"}));
}

TEST(LyricsBindings, PreviewBoxSlidesInAndTheBottomStripTakesTheTextBack) {
  Editor e;
  e.load({"a", "", "\xB8\xE8"});  // "歌" in GBK
  e.window().menus().popupAction(QStringLiteral("PreviewLyrics"))->trigger();
  QPlainTextEdit* box = e.window().previewBox();
  EXPECT_EQ(box->pos(), QPoint(0, -380));
  EXPECT_EQ(box->toPlainText(), QStringLiteral("a\n\n歌\n"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return box->y() == 91 && box->isEnabled(); }, 3000));

  box->setPlainText(QStringLiteral("x\n\u6B4C"));
  moveOver(box, 360);
  EXPECT_EQ(e.list().count(), 3);
  moveOver(box, 365);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"x", "\xB8\xE8"}));
  EXPECT_EQ(e.window().statusLabel(5)->text(), QStringLiteral("字：5"));
  EXPECT_FALSE(box->isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return box->y() == -380; }, 3000));
}

// What was typed into the open box is in the recovery file at once and goes into the lines at
// close; a box left as it was given changes neither, not even the lines stamped while it was
// open.
TEST(LyricsBindings, ClosingKeepsWhatWasTypedIntoThePreviewBox) {
  for (const bool typed : {false, true}) {
    SCOPED_TRACE(typed ? "typed" : "untouched");
    Editor e;
    e.load({"a", "b"});
    e.window().menus().popupAction(QStringLiteral("PreviewLyrics"))->trigger();
    QPlainTextEdit* box = e.window().previewBox();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isEnabled(); }, 3000));
    e.list().setLine(1, "[00:01.00]b");
    if (typed) {
      box->moveCursor(QTextCursor::End);
      QTest::keyClicks(box, "c");
    }
    // Before any close, the recovery file holds the lines the typed text makes.
    app::EditorState& state = e.editor->state();
    state.recovery.writeAndWait();
    const auto recovered = files::decodeRecoveryFile(e.harness.home.read(state.recovery.ownFile()));
    ASSERT_TRUE(recovered);
    std::vector<std::string> inFile;
    for (std::size_t line = 0; line < recovered->lines.lineCount(); ++line) {
      inFile.emplace_back(recovered->lines.line(line));
    }
    const std::vector<std::string> kept = typed ? std::vector<std::string>{"a", "b", "c"}
                                                : std::vector<std::string>{"a", "[00:01.00]b"};
    EXPECT_EQ(inFile, kept);
    e.window().close();
    EXPECT_EQ(e.list().lines(), kept);
  }
}

TEST(LyricsBindings, NewLyricsFileEmptiesTheSongRowBoxesAndStatusTexts) {
  Editor e;
  e.load({"a", "b"});
  e.editor->state().song.setRow({"song", "singer", "MP3", "ok", "/x/song.mp3"});
  for (int field = 0; field < 4; ++field) e.window().headerEdit(field)->setText("text");
  e.prompter.answers.push_back(true);
  e.window().menus().action(QStringLiteral("NewLyricsFile"))->trigger();
  ASSERT_EQ(e.prompter.shown.size(), 1u);
  EXPECT_EQ(e.window().songList()->topLevelItemCount(), 0);
  EXPECT_EQ(e.list().count(), 0);
  for (int field = 0; field < 4; ++field)
    EXPECT_TRUE(e.window().headerEdit(field)->text().isEmpty());
  const QStringList texts = {
      "播放时间：[00:00.00]", "播放进度：00%", "歌手：", "歌曲：", "行：", "字："};
  for (int part = 0; part < 6; ++part) EXPECT_EQ(e.window().statusLabel(part)->text(), texts[part]);
}

TEST(LyricsBindings, SignatureMenusPanelAndShortcuts) {
  Editor e;
  e.load({"a", "b"});
  auto* panel = e.window().control<QGroupBox>(QStringLiteral("分组框_配置个性签名"));
  e.window().menus().action(QStringLiteral("SetSignature"))->trigger();
  EXPECT_EQ(panel->pos(), QPoint(120, 180));
  EXPECT_EQ(e.window().signatureBox()->toPlainText(),
            QStringLiteral("青禾歌词编辑器，写歌词就这么简单~"));
  e.window().signatureBox()->setPlainText(QStringLiteral("签名"));
  e.window().control<QPushButton>(QStringLiteral("按钮_个性签名"))->click();
  EXPECT_EQ(panel->pos(), QPoint(1100, 150));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(e.dir.file("program/GEXINGQIANMING.ini"))));

  e.list().setSelection(1);
  e.view()->setFocus();
  QTest::keyClick(e.view(), Qt::Key_T, Qt::ControlModifier);
  QTest::keyClick(e.view(), Qt::Key_W, Qt::ControlModifier);
  const std::string tagged = "[00:00.00]\xC7\xA9\xC3\xFB";  // "签名" in GBK
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"a", tagged, "b", tagged}));
  EXPECT_EQ(e.list().selection(), 3);
}

// The bindings filter events of the lyrics list and of the preview box. A control that goes
// before them, as every control does while the window is destroyed, is never read again.
TEST(LyricsBindings, AControlThatGoesFirstIsNeverReadAgain) {
  Editor e;
  e.load({"a", "b"});
  e.window().menus().popupAction(QStringLiteral("PreviewLyrics"))->trigger();
  QPlainTextEdit* box = e.window().previewBox();
  ASSERT_TRUE(QTest::qWaitFor([&] { return box->y() == 91 && box->isEnabled(); }, 3000));

  delete e.view();
  box->setPlainText(QStringLiteral("x"));
  moveOver(box, 365);
  EXPECT_EQ(e.list().lines(), (std::vector<std::string>{"x"}));
  e.editor.reset();
}

// 整体平移时间标签...: 取消 changes nothing; 确定 moves the tags of the chosen lines, and one
// undo takes each whole shift back.
TEST(LyricsBindings, TheShiftDialogMovesTheChosenLinesAsOneStep) {
  Editor e;
  const std::vector<std::string> before = {"[00:01.00]a", "[00:20]b", "[00:30.00][01:00.00]c"};
  e.list().replaceAll(before);
  e.list().setSelection(1);
  QApplication::processEvents();
  QAction* item = e.window().menus().action(QStringLiteral("ShiftTimeTags"));
  ASSERT_NE(item, nullptr);
  // Answers the modal dialog once it shows: `seconds`, 全部 or not, 确定 or 取消.
  const auto answer = [](double seconds, bool all, QDialogButtonBox::StandardButton button) {
    QTimer::singleShot(0, [=] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr) << "no modal dialog";
      EXPECT_EQ(dialog->objectName(), QStringLiteral("窗口_整体平移"));
      auto* spin = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("数值框_平移秒数"));
      auto* fromSelected = dialog->findChild<QRadioButton*>(QStringLiteral("单选框_选中行及以下"));
      auto* whole = dialog->findChild<QRadioButton*>(QStringLiteral("单选框_全部"));
      ASSERT_TRUE(spin && fromSelected && whole);
      EXPECT_TRUE(fromSelected->isChecked());
      EXPECT_EQ(spin->minimum(), -600.0);
      EXPECT_EQ(spin->maximum(), 600.0);
      EXPECT_EQ(spin->decimals(), 2);
      spin->setValue(seconds);
      if (all) whole->setChecked(true);
      dialog->findChild<QDialogButtonBox*>()->button(button)->click();
    });
  };
  answer(1.35, false, QDialogButtonBox::Cancel);
  item->trigger();
  QApplication::processEvents();
  EXPECT_EQ(e.list().lines(), before);

  answer(1.35, false, QDialogButtonBox::Ok);
  item->trigger();
  QApplication::processEvents();
  EXPECT_EQ(e.list().lines(),
            (std::vector<std::string>{"[00:01.00]a", "[00:21.35]b", "[00:31.35][01:01.35]c"}));
  answer(-2.5, true, QDialogButtonBox::Ok);
  item->trigger();
  QApplication::processEvents();
  EXPECT_EQ(e.list().lines(),
            (std::vector<std::string>{"[00:00.00]a", "[00:18.85]b", "[00:28.85][00:58.85]c"}));
  QAction* undo = e.window().menus().action(QStringLiteral("Undo"));
  undo->trigger();
  EXPECT_EQ(e.list().lines(),
            (std::vector<std::string>{"[00:01.00]a", "[00:21.35]b", "[00:31.35][01:01.35]c"}));
  undo->trigger();
  EXPECT_EQ(e.list().lines(), before);
  EXPECT_EQ(e.list().selection(), 1);
  EXPECT_TRUE(e.prompter.shown.empty());
}
