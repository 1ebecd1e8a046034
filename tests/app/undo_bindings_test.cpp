#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "app/editor_app.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "app/bindings/undo_bindings.h"
#include "support/fake_services.h"

namespace {

// What a step restores: the lines, the selection, the four header boxes and the song row.
struct Document {
  std::vector<std::string> lines;
  int selection;
  std::vector<std::string> sides;
  bool operator==(const Document&) const = default;
};

struct Editor {
  Editor() {
    EXPECT_TRUE(harness.startActive()) << "waited for the window to be active";
  }
  app::MainWindow& window() { return editor->window(); }
  app::EditorState& state() { return editor->state(); }
  Document document() {
    std::vector<std::string> sides;
    for (int f = 0; f < lyrics::HeaderFields::kFieldCount; ++f) {
      sides.push_back(state().headers.text(static_cast<lyrics::HeaderFields::Field>(f)));
    }
    for (int c = 0; c < playback::SongRow::kColumnCount; ++c)
      sides.push_back(state().song.cell(0, c));
    return {state().lyrics.lines(), state().lyrics.selection(), sides};
  }
  // Ends the action under way as the event loop would.
  void settle() { editor->undo().settleNow(); }
  void key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    settle();
  }

  testsupport::EditorHarness harness;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
};

}  // namespace

// Each command that changes the lines is one step: undo gives back the document before it,
// redo the one after it, down to the header boxes and the song row.
TEST(UndoBindings, EveryLineCommandIsOneStepThatUndoAndRedoRestore) {
  struct Case {
    const char* command;
    std::deque<bool> answers = {};
  };
  const Case cases[] = {{"AddTimeTag"},
                        {"DeleteLineTag"},
                        {"DeleteAllTimeTags"},
                        {"StripTagFractions"},
                        {"DeleteUntaggedLines"},
                        {"MoveLineUp"},
                        {"MoveLineDown"},
                        {"DeleteSelectedLine"},
                        {"ClearLyrics"},
                        {"DeleteAllSpaces"},
                        {"DeleteEmptyLines"},
                        {"AddSignature"},
                        {"AppendSignature"},
                        {"NewLyricsFile", {true}},
                        {"OpenSavedRecord"},
                        {"RestampLine"},
                        {"AlignToCurrentTime"},
                        {"NudgeTagEarlierTenth"},
                        {"NudgeTagLaterHundredth"}};
  Editor e;
  QAction* undo = e.window().menus().action(QStringLiteral("Undo"));
  QAction* redo = e.window().menus().action(QStringLiteral("Redo"));
  // The items are grey while there is nothing for them to do.
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  e.state().library.append({"旧歌手", "旧歌", "专辑", "我", "/x/旧歌.mp3", "t", "x\r\ny\r\n"});
  for (const Case& test : cases) {
    SCOPED_TRACE(test.command);
    e.state().lyrics.replaceAll({"[00:01.00]a b", "", "[00:02]c", "d"});
    e.state().lyrics.setSelection(2);
    e.state().headers.setText(lyrics::HeaderFields::Singer, "歌手");
    e.state().song.setRow({"歌", "歌手", "MP3", "正常", "/m/歌手-歌.mp3"});
    e.state().currentTag.set("[00:09.50]");
    e.state().library.setSelectedRow(0);
    e.settle();
    const Document before = e.document();
    e.harness.prompter.answers = test.answers;
    ASSERT_TRUE(e.editor->commands().run(test.command));
    e.settle();
    const Document after = e.document();
    ASSERT_NE(after, before);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    e.editor->commands().run("Redo");  // nothing undone yet: nothing to redo
    EXPECT_EQ(e.document(), after);
    e.editor->commands().run("Undo");
    EXPECT_EQ(e.document(), before);
    EXPECT_TRUE(redo->isEnabled());
    e.editor->commands().run("Redo");
    EXPECT_EQ(e.document(), after);
  }
}

// A command that changes nothing makes no step, saving keeps the history, and the keys reach
// the history from the lyrics list while a header box keeps Ctrl+Z for its own typing.
TEST(UndoBindings, NoOpsMakeNoStepAndTheKeysFollowTheFocus) {
  Editor e;
  lyrics::LyricsList& list = e.state().lyrics;
  list.replaceAll({"a", "b"});
  list.setSelection(0);
  e.settle();
  auto* view = e.window().lyricsView();
  view->setFocus();
  e.state().currentTag.set("[00:01.00]");
  e.key(view, Qt::Key_F5);
  e.key(view, Qt::Key_F5);
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"[00:01.00]a", "[00:01.00]b"}));
  e.editor->commands().run("DeleteAllSpaces");  // no spaces: no step, only no selection
  e.settle();
  // Two presses of Alt+Down on one line are one step; Shift+F5 re-stamps it.
  list.setSelection(1);
  e.key(view, Qt::Key_Down, Qt::AltModifier);
  e.key(view, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(list.line(1), "[00:01.20]b");
  e.key(view, Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(list.line(1), "[00:01.00]b");
  e.key(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(list.line(1), "[00:01.20]b");
  e.key(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(list.line(1), "[00:01.00]b");
  e.key(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"[00:01.00]a", "b"}));
  EXPECT_EQ(list.selection(), 1);
  e.key(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(list.selection(), 0);
  e.key(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"[00:01.00]a", "b"}));

  QLineEdit* singer = e.window().headerEdit(lyrics::HeaderFields::Singer);
  singer->setFocus();
  QTest::keyClicks(singer, "a");
  e.key(singer, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(singer->text(), QString());
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"[00:01.00]a", "b"}));
}
