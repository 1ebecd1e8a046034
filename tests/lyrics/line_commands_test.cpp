#include "lyrics/line_commands.h"

#include <gtest/gtest.h>

#include "support/recording_prompter.h"

using namespace lyrics;
using Lines = std::vector<std::string>;

namespace {

struct LineFixture {
  explicit LineFixture(const Lines& lines) {
    for (const auto& line : lines) list.appendLine(line);
  }
  LyricsList list;
  HeaderFields headers;
  StatusBar status;
  testsupport::RecordingPrompter prompter;
  std::vector<std::string> previews;
  LineCommands commands{list, headers, status, prompter,
                        [this](const std::string& text) { previews.push_back(text); }};
};

}  // namespace

TEST(LineCommands, MoveLineUpSelectsTheLineThatMovedDown) {
  LineFixture f({"a", "b", "c"});
  f.list.setSelection(2);
  f.commands.moveLineUp();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "c", "b"}));
  EXPECT_EQ(f.list.selection(), 2);
  f.commands.moveLineUp();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b", "c"}));
  EXPECT_EQ(f.list.selection(), 2);

  f.list.setSelection(0);
  f.commands.moveLineUp();
  f.list.setSelection(-1);
  f.commands.moveLineUp();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b", "c"}));
  EXPECT_EQ(f.list.selection(), -1);
}

TEST(LineCommands, MoveLineDownWalksTheLineToTheEnd) {
  LineFixture f({"a", "b", "c"});
  f.list.setSelection(0);
  f.commands.moveLineDown();
  EXPECT_EQ(f.list.lines(), (Lines{"b", "a", "c"}));
  EXPECT_EQ(f.list.selection(), 1);
  f.commands.moveLineDown();
  EXPECT_EQ(f.list.lines(), (Lines{"b", "c", "a"}));
  EXPECT_EQ(f.list.selection(), 2);
  f.commands.moveLineDown();
  EXPECT_EQ(f.list.lines(), (Lines{"b", "c", "a"}));
  EXPECT_EQ(f.list.selection(), 2);

  f.list.setSelection(-1);
  f.commands.moveLineDown();
  EXPECT_EQ(f.list.lines(), (Lines{"b", "c", "a"}));
  LineFixture empty({});
  empty.commands.moveLineDown();
  EXPECT_EQ(empty.list.count(), 0);
}

TEST(LineCommands, DeleteSelectedLineSelectsTheFollowingLine) {
  LineFixture f({"a", "b", "c"});
  f.list.setSelection(0);
  f.commands.deleteSelectedLine();
  EXPECT_EQ(f.list.lines(), (Lines{"b", "c"}));
  EXPECT_EQ(f.list.selection(), 0);
  f.list.setSelection(1);
  f.commands.deleteSelectedLine();
  EXPECT_EQ(f.list.lines(), Lines{"b"});
  EXPECT_EQ(f.list.selection(), 0);
  f.commands.deleteSelectedLine();
  EXPECT_EQ(f.list.count(), 0);
  EXPECT_EQ(f.list.selection(), -1);

  LineFixture none({"a"});
  none.commands.deleteSelectedLine();
  EXPECT_EQ(none.list.lines(), Lines{"a"});
}

TEST(LineCommands, NewLyricsFileAsksAndResetsEverythingOnYes) {
  LineFixture f({"a", "b"});
  f.list.setSelection(1);
  f.headers.setText(HeaderFields::Singer, "singer");
  f.headers.setText(HeaderFields::Album, "album");
  f.headers.setText(HeaderFields::Editor, "editor");
  f.headers.setText(HeaderFields::Song, "song");
  f.status.setText(StatusBar::Lines, "行:2");
  std::vector<HeaderFields::Field> cleared;
  f.headers.addListener([&](HeaderFields::Field field) { cleared.push_back(field); });

  const FileForm utf8Lf{FileForm::Encoding::Utf8, FileForm::LineEnd::Lf};
  f.list.setFileForm(utf8Lf);
  EXPECT_FALSE(f.commands.newLyricsFile());  // answered No
  EXPECT_EQ(f.list.fileForm(), utf8Lf);
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].text, "确定清空所有数据，新建歌词文件？");
  EXPECT_EQ(f.prompter.shown[0].title, "tolva_提示：");
  EXPECT_EQ(f.prompter.shown[0].icon, platform::MessageIcon::None);
  EXPECT_TRUE(f.prompter.shown[0].question);
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b"}));
  EXPECT_EQ(f.headers.text(HeaderFields::Singer), "singer");
  EXPECT_TRUE(cleared.empty());

  f.prompter.answers.push_back(true);
  EXPECT_TRUE(f.commands.newLyricsFile());
  EXPECT_EQ(f.list.count(), 0);
  EXPECT_EQ(f.list.fileForm(), FileForm{});  // a new document is saved as GBK with CR LF
  EXPECT_EQ(cleared,
            (std::vector<HeaderFields::Field>{HeaderFields::Album, HeaderFields::Song,
                                              HeaderFields::Singer, HeaderFields::Editor}));
  const std::vector<std::string> texts = {
      "播放时间：[00:00.00]", "播放进度：00%", "歌手：", "歌曲：", "行：", "字："};
  for (int part = 0; part < StatusBar::kPartCount; ++part) {
    EXPECT_EQ(f.status.text(part), texts[static_cast<std::size_t>(part)]) << part;
  }
}

TEST(LineCommands, DeleteAllSpacesIsDoubleByteAwareAndLeavesNoSelection) {
  // "　" is A1 A1; "\xB0\xA1\xA1\xB0" holds A1 A1 only across two characters and stays.
  LineFixture f({"a b　c", "\t", "[ti:My Song]", "\xB0\xA1\xA1\xB0", " 　 "});
  f.list.setSelection(0);
  f.commands.deleteAllSpaces();
  EXPECT_EQ(f.list.lines(), (Lines{"abc", "\t", "[ti:MySong]", "\xB0\xA1\xA1\xB0", ""}));
  EXPECT_EQ(f.list.selection(), -1);
  EXPECT_EQ(std::string("a b　c").size(), 6u);  // the literal really is GBK
}

TEST(LineCommands, DeleteEmptyLinesRemovesEmptyAndTagOnlyLines) {
  LineFixture f({"a", "", "", "[00:01.23]", "[00:01.23]b", "  ", "[00:01]", "[ar:ab]", "[ar:abc]"});
  f.list.setSelection(4);
  f.commands.deleteEmptyLines();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "[00:01.23]b", "  ", "[ar:abc]"}));
  EXPECT_EQ(f.list.line(f.list.selection()), "[00:01.23]b");
  f.list.setSelection(2);
  f.list.setLine(2, "");
  f.commands.deleteEmptyLines();
  EXPECT_EQ(f.list.selection(), -1);
  EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(LineCommands, ClearAndPreviewHandOver) {
  LineFixture f({"a", "", "b"});
  f.commands.previewLyrics();
  EXPECT_EQ(f.previews, std::vector<std::string>{"a\r\n\r\nb\r\n"});
  f.list.setSelection(1);
  f.list.setFileForm({FileForm::Encoding::Utf8WithMark, FileForm::LineEnd::Lf});
  f.commands.clearLyrics();
  EXPECT_EQ(f.list.count(), 0);
  EXPECT_EQ(f.list.fileForm(), FileForm{});
  EXPECT_EQ(f.list.selection(), -1);
  f.commands.previewLyrics();
  EXPECT_EQ(f.previews.back(), "");
}
