#include "app/bindings/recovery_bindings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "app/bindings/undo_bindings.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "files/recovery_file.h"
#include "support/fake_services.h"

// The ended run's file is read off the window's thread: the command returns with the document
// as it was and the item disabled, a second request adds nothing, and an edit made meanwhile
// stays one undo away from the document that then comes in as one step.
TEST(RecoveryBindings, ARestoreComesInLaterAsOneStepAfterTheEditsMadeMeanwhile) {
  testsupport::EditorHarness harness;
  app::EditorApp& editor = harness.start();
  app::EditorState& state = editor.state();
  std::vector<std::string> ended;
  for (int i = 0; i < 200000; ++i) ended.push_back("[00:01.00]line " + std::to_string(i));
  lyrics::LyricsList endedList;
  endedList.appendLines(ended);
  const std::vector<std::string> sides(lyrics::HeaderFields::kFieldCount + 1 +
                                       playback::SongRow::kColumnCount);
  harness.home.write("data/qinghe-lrc-editor/recovery-1-1.bin",
                     files::encodeRecoveryFile({endedList.snapshot(), 0, {}, sides}));
  state.lyrics.appendLines({"mine"});
  editor.undo().settleNow();

  ASSERT_TRUE(editor.commands().run("RestoreClosedLyrics"));
  EXPECT_TRUE(state.recovery.restoring());
  EXPECT_FALSE(editor.window().menus().action(QStringLiteral("RestoreClosedLyrics"))->isEnabled());
  EXPECT_TRUE(editor.commands().run("RestoreClosedLyrics"));
  state.lyrics.setLine(0, "mine, edited");
  editor.undo().settleNow();
  EXPECT_EQ(state.lyrics.lines(), std::vector<std::string>{"mine, edited"});

  EXPECT_TRUE(QTest::qWaitFor([&] { return !state.recovery.restoring(); }, 10000))
      << "waited 10 s for the ended run's document to come in";
  EXPECT_EQ(state.lyrics.lines(), ended);
  EXPECT_TRUE(harness.prompter.shown.empty());
  ASSERT_TRUE(state.history.undo());
  EXPECT_EQ(state.lyrics.lines(), std::vector<std::string>{"mine, edited"});
  ASSERT_TRUE(state.history.undo());
  EXPECT_EQ(state.lyrics.lines(), std::vector<std::string>{"mine"});
}
