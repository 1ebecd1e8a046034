#include "playback/song_file_name.h"

#include <gtest/gtest.h>

#include "playback/song_row.h"

using namespace playback;

TEST(SongFileName, FileNameIsTheLastPieceAfterSlash) {
  EXPECT_EQ(fileNameOfPath("/home/u/music/Singer-Title.mp3"), "Singer-Title.mp3");
  EXPECT_EQ(fileNameOfPath("Title.mp3"), "Title.mp3");
  EXPECT_EQ(fileNameOfPath("/a/歌手-歌名.mp3"), "歌手-歌名.mp3");
  // A byte of 0x80 or more takes the next byte with it, so that "/" is not a separator.
  EXPECT_EQ(fileNameOfPath("/a/b\x81/c.mp3"), "b\x81/c.mp3");
  // Several dropped files: the last piece keeps the line break and fails the format check.
  const std::string twoFiles = "/m/a.mp3\r\n/m/b.mp3\r\n";
  EXPECT_EQ(fileNameOfPath(twoFiles), "b.mp3\r\n");
  EXPECT_FALSE(audioFormatOf(fileNameOfPath(twoFiles)));
}

TEST(SongFileName, FormatComesFromTheLastFourBytesIgnoringAsciiCase) {
  EXPECT_EQ(audioFormatOf("a.mp3"), "mp3格式");
  EXPECT_EQ(audioFormatOf("Song.WMA"), "wma格式");
  EXPECT_EQ(audioFormatOf("歌.Mp3"), "mp3格式");
  EXPECT_FALSE(audioFormatOf("a.txt"));
  EXPECT_FALSE(audioFormatOf("a.mp3 "));
  EXPECT_FALSE(audioFormatOf("mp3"));
  EXPECT_FALSE(audioFormatOf(""));
}

TEST(SongFileName, SingerAndTitleFromTheDashes) {
  auto parts = splitSongName("Singer-Title.mp3");
  EXPECT_EQ(parts.singer, "Singer");
  EXPECT_EQ(parts.title, "Title");

  parts = splitSongName("Song.WMA");
  EXPECT_FALSE(parts.singer);
  EXPECT_EQ(parts.title, "Song");

  parts = splitSongName("A - B.mp3");  // nothing is trimmed
  EXPECT_EQ(parts.singer, "A ");
  EXPECT_EQ(parts.title, " B");

  // Several dashes: the singer is the first piece, the title everything after the first "-".
  parts = splitSongName("周杰伦-晴天-live.mp3");
  EXPECT_EQ(parts.singer, "周杰伦");
  EXPECT_EQ(parts.title, "晴天-live");
  parts = splitSongName("A--B.mp3");
  EXPECT_EQ(parts.singer, "A");
  EXPECT_EQ(parts.title, "-B");
  parts = splitSongName("-B.mp3");
  EXPECT_EQ(parts.singer, "");
  EXPECT_EQ(parts.title, "B");

  // A "-" in the second byte of a double-byte character is no separator.
  parts = splitSongName("\x81-x-y.mp3");
  EXPECT_EQ(parts.singer, "\x81-x");
  EXPECT_EQ(parts.title, "y");

  // Fewer than four bytes leave an empty title; a final "-" adds no piece.
  EXPECT_EQ(splitSongName(".mp").title, "");
  EXPECT_EQ(splitSongName(".mp3").title, "");
  parts = splitSongName("abc.mp3-");
  EXPECT_FALSE(parts.singer);
  EXPECT_EQ(parts.title, "abc");
}

TEST(SongRow, MissingRowReadsEmptyAndSelectionClamps) {
  SongRow row;
  int changes = 0;
  row.addListener([&] { ++changes; });
  EXPECT_EQ(row.rowCount(), 0);
  EXPECT_EQ(row.cell(SongRow::Path), "");
  row.setSelection(0);
  EXPECT_EQ(row.selection(), -1);

  row.setRow({"t", "s", "mp3格式", "正常", "/p.mp3"});
  EXPECT_EQ(row.cell(SongRow::Path), "/p.mp3");
  EXPECT_EQ(row.cell(1, SongRow::Path), "");
  EXPECT_EQ(row.cell(0, 5), "");
  row.setSelection(3);
  EXPECT_EQ(row.selection(), 0);
  row.setRow({"u", "", "wma格式", "正常", "/q.wma"});
  EXPECT_EQ(row.selection(), -1);
  row.clear();
  EXPECT_EQ(row.rowCount(), 0);
  EXPECT_EQ(row.cell(SongRow::Format), "");
  EXPECT_EQ(changes, 4);
}
