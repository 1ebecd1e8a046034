#include "files/save_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/save_time_text.h"
#include "lyrics/lyrics_import.h"
#include "lyrics/text_rules.h"
#include "platform/file_io.h"
#include "support/save_rig.h"

using files::SavedLyricsRecord;
using lyrics::HeaderFields;

namespace {

struct SaveFixture : testsupport::SaveRig {
  explicit SaveFixture(std::vector<std::string> lines = {}) { list.replaceAll(std::move(lines)); }
  std::string path(const std::string& name) const { return platform::gbkPath(dir.file(name)); }
  std::string bytes(const std::string& gbkPath) const {
    return platform::readFileBytes(gbkPath).bytes;
  }
};

}  // namespace

TEST(SaveTimeText, LeavesOutTrailingZeroParts) {
  const std::vector<std::pair<platform::LocalDateTime, std::string>> cases = {
      {{2014, 3, 5, 9, 7, 3}, "2014年3月5日9时7分3秒"},
      {{2014, 3, 5, 9, 7, 0}, "2014年3月5日9时7分"},
      {{2014, 3, 5, 9, 0, 0}, "2014年3月5日9时"},
      {{2014, 3, 5, 0, 0, 0}, "2014年3月5日"},
      {{2014, 12, 31, 12, 0, 0}, "2014年12月31日12时"},
      {{2014, 3, 5, 0, 0, 9}, "2014年3月5日0时0分9秒"},
      {{2014, 3, 5, 0, 30, 0}, "2014年3月5日0时30分"}};
  for (const auto& [moment, text] : cases) EXPECT_EQ(files::saveTimeText(moment), text);
}

TEST(SaveCommands, SaveLyricsAddsAStoredRecordAndConfirmsIt) {
  SaveFixture nothing;
  nothing.commands.saveLyrics();
  ASSERT_EQ(nothing.prompter.shown.size(), 1u);
  EXPECT_EQ(nothing.prompter.shown[0].text, "保存无效");
  EXPECT_EQ(nothing.prompter.shown[0].title, "tolva_提示：");
  EXPECT_EQ(nothing.library.count(), 0);
  EXPECT_TRUE(nothing.balloon.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(platform::nativePath(nothing.store.filePath(0))));

  SaveFixture songOnly;
  songOnly.song.setRow({"t", "s", "mp3格式", "正常", "/m/a.mp3"});
  songOnly.commands.saveLyrics();
  ASSERT_EQ(songOnly.library.count(), 1);
  EXPECT_EQ(songOnly.library.field(0, SavedLyricsRecord::SongPath), "/m/a.mp3");
  EXPECT_EQ(songOnly.library.field(0, SavedLyricsRecord::Lyrics), "");

  SaveFixture f({"a", "", "[ti:x]b"});
  f.header.setText(HeaderFields::Singer, "歌手");
  f.header.setText(HeaderFields::Editor, "e");
  f.library.setSelectedRow(-1);
  f.commands.saveLyrics();
  SavedLyricsRecord expected;
  expected.singer = "歌手";
  expected.editor = "e";
  expected.savedAt = "2014年3月5日9时7分3秒";
  expected.lyrics = "a\r\n\r\n[ti:x]b\r\n";
  ASSERT_EQ(f.library.records(), std::vector<SavedLyricsRecord>{expected});
  EXPECT_EQ(f.library.selectedRow(), -1);
  EXPECT_EQ(f.list.count(), 3);
  EXPECT_EQ(f.bytes(f.store.filePath(SavedLyricsRecord::Lyrics)), expected.lyrics + "======");
  EXPECT_EQ(f.balloon.shown, std::vector<std::string>{"歌词已保存，双击查看歌词文件@600,693"});

  // A library that cannot be written is reported, and nothing claims it was saved.
  std::filesystem::remove_all(f.dir.path());
  f.commands.saveLyrics();
  EXPECT_EQ(f.library.count(), 2);
  EXPECT_EQ(f.balloon.shown.size(), 1u);
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].title, "tolva_错误提示");
}

TEST(SaveCommands, SaveLyricsAsAppendsLrcOnlyWhenMissing) {
  const std::vector<std::pair<std::string, std::string>> names = {{"a", "a.lrc"},
                                                                  {"a.lrc", "a.lrc"},
                                                                  {"A.LRC", "A.LRC"},
                                                                  {"b.Lrc", "b.Lrc"},
                                                                  {"a.txt", "a.txt.lrc"}};
  for (const auto& [chosen, written] : names) {
    SaveFixture f({"a", "", "b"});
    f.header.setText(HeaderFields::Song, "not written");
    f.dialogs.choice = f.path(chosen);
    f.commands.saveLyricsAs();
    EXPECT_EQ(f.dialogs.opened.at(0).filter, "歌词文件(*.lrc)|*.lrc");
    EXPECT_EQ(f.bytes(f.path(written)), "a\r\n\r\nb\r\n") << chosen;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 1) << chosen;
    EXPECT_TRUE(f.prompter.shown.empty());
  }
}

TEST(SaveCommands, SaveLyricsAsAsksAboutTheFileReallyWrittenAndRemembersTheName) {
  SaveFixture f;
  f.dir.write("a.lrc", "old");
  f.dialogs.choice = f.path("a");
  f.prompter.answers = {false, true};
  f.commands.saveLyricsAs();
  EXPECT_EQ(f.dir.read("a.lrc"), "old");
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_TRUE(f.prompter.shown[0].question);
  EXPECT_NE(f.prompter.shown[0].text.find(f.path("a.lrc")), std::string::npos);
  f.commands.saveLyricsAs();
  EXPECT_TRUE(std::filesystem::exists(f.dir.file("a.lrc")));
  EXPECT_EQ(f.dir.read("a.lrc"), "");               // an empty list gives an empty file
  EXPECT_EQ(f.dialogs.opened.at(1).directory, "");  // the declined first try is not remembered

  f.dialogs.choice.reset();
  f.commands.saveLyricsAs();
  EXPECT_EQ(f.dialogs.opened.at(2).directory, f.path("a"));
  EXPECT_EQ(f.prompter.shown.size(), 2u);

  f.dialogs.choice = f.path("missing/x.lrc");
  f.commands.saveLyricsAs();
  EXPECT_EQ(f.prompter.shown.back().text, "文件保存失败：" + f.path("missing/x.lrc"));
  EXPECT_EQ(f.prompter.shown.back().title, "tolva_错误提示");
  f.commands.saveLyricsAs();
  EXPECT_EQ(f.dialogs.opened.back().directory, f.path("a"));
}

TEST(SaveCommands, WriteLyricsBesideAudioPutsHeaderLinesForFilledBoxes) {
  struct Case {
    std::string title, singer, album, editor;
    std::vector<std::string> lines;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"", "", "", "", {"a", "b"}, "a\r\nb\r\n"},
      {"", "", "X", "", {"a"}, "[al:X]\r\na\r\n"},
      {"歌]", "", "", "", {}, "[ti:歌]]\r\n"},
      {"t", "s", "al", " ", {"[ti:t]"}, "[ti:t]\r\n[ar:s]\r\n[al:al]\r\n[by: ]\r\n[ti:t]\r\n"}};
  for (const auto& c : cases) {
    SaveFixture f(c.lines);
    f.header.setText(HeaderFields::Song, c.title);
    f.header.setText(HeaderFields::Singer, c.singer);
    f.header.setText(HeaderFields::Album, c.album);
    f.header.setText(HeaderFields::Editor, c.editor);
    f.dir.write("song.lrc", "old old old");
    f.dialogs.choice = f.path("song.mp3");
    f.commands.writeLyricsBesideAudio();
    EXPECT_EQ(f.dir.read("song.lrc"), c.expected);
    EXPECT_EQ(f.dialogs.opened.at(0).title, "tolva_LRC镶嵌");
    EXPECT_EQ(f.dialogs.opened.at(0).filter, "音频文件(*.mp3)|*.mp3|微软格式(*.wma)|*.wma");
  }

  // Four bytes go whatever they are, so a longer extension leaves its dot behind.
  SaveFixture f({"x"});
  f.dialogs.choice = f.path("a.flac");
  f.commands.writeLyricsBesideAudio();
  EXPECT_EQ(f.dir.read("a..lrc"), "x\r\n");
  f.dialogs.choice.reset();
  f.commands.writeLyricsBesideAudio();
  EXPECT_EQ(f.dialogs.opened.at(1).directory, f.path("a.flac"));
  f.dialogs.choice = f.path("no/such.wma");
  f.commands.writeLyricsBesideAudio();
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].text, "文件保存失败：" + f.path("no/such.lrc"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 1);
}

namespace {

// UTF-8 bytes of a u8 literal (the test's plain literals are GBK bytes).
std::string utf8(std::u8string_view text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(SaveCommands, ADocumentIsWrittenInTheFormOfTheFileItCameFrom) {
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    std::string file;
    // The header line "[ti:晴天]" as the file beside the audio holds it.
    std::string titleLine;
  };
  const Case cases[] = {
      {"UTF-8, LF", utf8(u8"[ar:周]\n[00:01.00]故事的小黄花\n\nend\n"), utf8(u8"[ti:晴天]\n")},
      {"UTF-8 with the mark, CR LF", mark + utf8(u8"晴天\r\n\r\n[00:02.00]从出生那年\r\n"),
       mark + utf8(u8"[ti:晴天]\r\n")},
      {"GBK, LF", "[ar:周]\n[00:01.00]故事的小黄花\nend\n", "[ti:晴天]\n"},
      {"GBK, CR LF", "[ar:周]\r\n[00:01.00]故事的小黄花\r\nend\r\n", "[ti:晴天]\r\n"},
      // A mark before bytes that are no UTF-8 stays in the first line and goes back out.
      {"a mark before GBK", mark + "ab\r\n晴天\r\n", "[ti:晴天]\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SaveFixture f;
    lyrics::StatusBar status;
    lyrics::LyricsImporter importer{f.list, status, f.prompter, f.dialogs};
    importer.dropLyricsFile(f.dir.write("in.lrc", c.file));
    f.dialogs.choice = f.path("out.lrc");
    f.commands.saveLyricsAs();
    EXPECT_EQ(f.dir.read("out.lrc"), c.file);

    f.header.setText(HeaderFields::Song, "晴天");
    f.dialogs.choice = f.path("song.mp3");
    f.commands.writeLyricsBesideAudio();
    // A UTF-8 mark goes in front of the header; a mark kept in a GBK line stays in it.
    const bool marked = c.titleLine.starts_with(mark);
    const std::string body = marked ? c.file.substr(mark.size()) : c.file;
    EXPECT_EQ(f.dir.read("song.lrc"), c.titleLine + body);

    // The library keeps GBK and CR LF whatever the file was.
    f.commands.saveLyrics();
    const std::string stored = f.library.field(0, SavedLyricsRecord::Lyrics);
    EXPECT_EQ(stored, lyrics::joinLyricsText(f.list.lines()));
    EXPECT_TRUE(f.prompter.shown.empty());
  }
}
