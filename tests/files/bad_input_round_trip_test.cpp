#include <gtest/gtest.h>

#include "files/save_balloon_view.h"
#include "files/save_commands.h"
#include "lyrics/lyrics_import.h"
#include "platform/file_io.h"
#include "support/fake_local_clock.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace {

struct NoBalloon : files::SaveBalloonView {
  files::WindowFrame windowFrame() const override { return {0, 0, 530, 685, 22}; }
  void showBalloon(const std::string&, int, int) override {}
};

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t k = 0; k < times; ++k) out += piece;
  return out;
}

}  // namespace

// Files a user may drop on the list by mistake or from another program, dropped and saved again
// under a new name: each loads without a message and nothing of it is lost. A byte of 0x80 and
// above always takes the next byte with it, as in every GBK text, so a break right after one
// stays inside the line; saving then only adds the final break such a file lacks.
TEST(BadInput, DroppedFilesComeBackWholeThroughSaveAs) {
  const std::string noCharacters = "\x81\r\n\xFF\xFE\x80 a\r\n[00:01.00]\x81\x7F\xA1\r\n";
  const struct {
    const char* what;
    std::string bytes;
    int lines;
    std::string saved;
  } cases[] = {{"a 0-byte file", "", 0, ""},
               {"bytes that are no GBK character", noCharacters, 2, noCharacters + "\r\n"},
               {"a lead byte before a line break", "ab\x81\r\ncd\r\n", 1, "ab\x81\r\ncd\r\n"},
               {"two million empty lines", repeated("\r\n", 2'000'000), 2'000'000,
                repeated("\r\n", 2'000'000)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    lyrics::LyricsList list;
    lyrics::StatusBar status;
    testsupport::RecordingPrompter prompter;
    testsupport::ScriptedDialogs dialogs;
    lyrics::LyricsImporter importer{list, status, prompter, dialogs};
    lyrics::HeaderFields header;
    playback::SongRow song;
    testsupport::FakeLocalClock clock;
    NoBalloon balloon;
    files::SavedLyricsLibrary library;
    files::SavedLyricsStore store{library, prompter, platform::gbkPath(dir.path().string())};
    files::SaveCommands commands{list, header, song, store, clock, prompter, dialogs, balloon};

    list.replaceAll({"old"});
    importer.dropLyricsFile(platform::gbkPath(dir.write("dropped.lrc", c.bytes)));
    EXPECT_EQ(list.count(), c.lines);
    dialogs.choice = platform::gbkPath(dir.file("saved.lrc"));
    commands.saveLyricsAs();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(platform::fileExists(*dialogs.choice));
    EXPECT_TRUE(dir.read("saved.lrc") == c.saved) << "saved bytes differ";
  }
}
