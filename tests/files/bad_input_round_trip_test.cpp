#include <gtest/gtest.h>

#include "lyrics/lyrics_import.h"
#include "platform/file_io.h"
#include "support/save_rig.h"

namespace {

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
    testsupport::SaveRig rig;
    lyrics::StatusBar status;
    lyrics::LyricsImporter importer{rig.list, status, rig.prompter, rig.dialogs};

    rig.list.replaceAll({"old"});
    importer.dropLyricsFile(platform::gbkPath(rig.dir.write("dropped.lrc", c.bytes)));
    EXPECT_EQ(rig.list.count(), c.lines);
    rig.dialogs.choice = platform::gbkPath(rig.dir.file("saved.lrc"));
    rig.commands.saveLyricsAs();
    EXPECT_TRUE(rig.prompter.shown.empty());
    EXPECT_TRUE(platform::fileExists(*rig.dialogs.choice));
    EXPECT_TRUE(rig.dir.read("saved.lrc") == c.saved) << "saved bytes differ";
  }
}
