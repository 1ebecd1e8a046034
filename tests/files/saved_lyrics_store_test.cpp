#include "files/saved_lyrics_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/file_io.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

using namespace std::string_literals;
using files::SavedLyricsLibrary;
using files::SavedLyricsRecord;
using files::SavedLyricsStore;

namespace {

const std::string kSep = "======";

SavedLyricsRecord singerAndAlbum(std::string singer, std::string album) {
  SavedLyricsRecord record;
  record.singer = std::move(singer);
  record.album = std::move(album);
  return record;
}

// A record whose every field holds `value` with the field number appended.
SavedLyricsRecord filled(const std::string& value) {
  SavedLyricsRecord record;
  for (int k = 0; k < SavedLyricsRecord::kFieldCount; ++k)
    record.field(k) = value + std::to_string(k);
  return record;
}

struct StoreFixture {
  testsupport::TempDir dir;
  testsupport::RecordingPrompter prompter;
  SavedLyricsLibrary library;
  SavedLyricsStore store{library, prompter, platform::gbkPath(dir.path().string())};

  std::string bytes(int field) const {
    return platform::readFileBytes(store.filePath(field)).bytes;
  }
  void put(int field, const std::string& content) const {
    std::ofstream(platform::nativePath(store.filePath(field)), std::ios::binary) << content;
  }
  // The records a fresh start would load from the directory.
  std::vector<SavedLyricsRecord> reloaded() {
    SavedLyricsLibrary fresh;
    SavedLyricsStore(fresh, prompter, platform::gbkPath(dir.path().string())).loadSavedLyrics();
    return fresh.records();
  }
};

}  // namespace

TEST(SavedLyricsStore, WritesTheDesignedFormatByteForByte) {
  StoreFixture f;
  f.library.append(singerAndAlbum("A", ""));
  f.library.append(singerAndAlbum("B", "X"));
  f.library.append(SavedLyricsRecord{});
  ASSERT_TRUE(f.store.storeSavedLyrics());
  EXPECT_EQ(f.bytes(SavedLyricsRecord::Singer), "A" + kSep + "B" + kSep + kSep);
  EXPECT_EQ(f.bytes(SavedLyricsRecord::Album), kSep + "X" + kSep + kSep);
  EXPECT_EQ(f.bytes(SavedLyricsRecord::Lyrics), kSep + kSep + kSep);
  EXPECT_EQ(f.reloaded(), f.library.records());  // the empty last record included

  // Values without "=" are written as they are, GBK text and line breaks included.
  const std::vector<SavedLyricsRecord> plain = {filled("歌\r\n词\r\n\r\n"), filled("中文 x")};
  EXPECT_EQ(SavedLyricsStore::fileText(plain, SavedLyricsRecord::Lyrics),
            "歌\r\n词\r\n\r\n6" + kSep + "中文 x6" + kSep);
  // A file written plainly by an older version loads as it stands, "=" inside a value too.
  EXPECT_EQ(SavedLyricsStore::fileValues("a=b" + kSep + kSep + "c"),
            (std::vector<std::string>{"a=b", "", "c"}));
}

TEST(SavedLyricsStore, EveryValueReadsBackExactly) {
  const std::vector<std::string> values = {
      "a======b", "x=",     "=",     "=======", "=!",     "=!abc",           "=3D", "a\0b"s, "\0"s,
      "\x81",     "ab\x81", "\x81=", "中=文",   "中\x81", "a\r\n======\r\n", "",    "plain"};
  StoreFixture f;
  for (const auto& value : values) {
    f.library.append(filled(value));
    const std::string stored = SavedLyricsStore::encodeValue(value);
    EXPECT_EQ(SavedLyricsStore::decodeValue(stored), value);
    EXPECT_EQ(SavedLyricsStore::fileValues(stored + kSep), std::vector<std::string>{value})
        << "stored as " << stored;
  }
  ASSERT_TRUE(f.store.storeSavedLyrics());
  EXPECT_EQ(f.reloaded(), f.library.records());
}

TEST(SavedLyricsStore, LoadTakesTheCountFromTheSingerFile) {
  StoreFixture seven;
  seven.store.loadSavedLyrics();
  EXPECT_EQ(seven.library.count(), 0);  // seven missing files

  StoreFixture f;
  f.put(SavedLyricsRecord::Singer, "A" + kSep + "B" + kSep + "C" + kSep);
  f.put(SavedLyricsRecord::Album, "x" + kSep);
  f.put(SavedLyricsRecord::Song, "1" + kSep + "2" + kSep + "3" + kSep + "4" + kSep);
  f.put(SavedLyricsRecord::Editor, "e" + kSep + std::string("\0f", 2) + kSep);
  f.store.loadSavedLyrics();
  ASSERT_EQ(f.library.count(), 3);
  EXPECT_EQ(f.library.field(0, SavedLyricsRecord::Album), "x");
  EXPECT_EQ(f.library.field(2, SavedLyricsRecord::Album), "");
  EXPECT_EQ(f.library.field(2, SavedLyricsRecord::Song), "3");
  EXPECT_EQ(f.library.field(0, SavedLyricsRecord::Editor), "e");
  EXPECT_EQ(f.library.field(1, SavedLyricsRecord::Editor), "");  // the text ends at the zero
  EXPECT_EQ(f.library.field(1, SavedLyricsRecord::Lyrics), "");  // missing file

  StoreFixture noSingers;
  noSingers.put(SavedLyricsRecord::Song, "1" + kSep);
  noSingers.store.loadSavedLyrics();
  EXPECT_EQ(noSingers.library.count(), 0);
}

TEST(SavedLyricsStore, EveryChangeIsWrittenThroughByReplacingTheFiles) {
  StoreFixture f;
  ASSERT_TRUE(f.store.appendRecord(filled("a")));
  ASSERT_TRUE(f.store.appendRecord(filled("b")));
  EXPECT_EQ(f.reloaded(), (std::vector<SavedLyricsRecord>{filled("a"), filled("b")}));

  // The old file is replaced whole, not rewritten in place: a reader that opened it before
  // still sees the old bytes.
  const std::string lyricsPath = platform::nativePath(f.store.filePath(SavedLyricsRecord::Lyrics));
  std::ifstream before(lyricsPath, std::ios::binary);
  ASSERT_TRUE(f.store.deleteRecord(0));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(before), {}), "a6" + kSep + "b6" + kSep);
  EXPECT_EQ(f.reloaded(), std::vector<SavedLyricsRecord>{filled("b")});
  EXPECT_FALSE(f.store.deleteRecord(5));

  ASSERT_TRUE(f.store.deleteAllRecords());
  for (int k = 0; k < SavedLyricsRecord::kFieldCount; ++k) EXPECT_EQ(f.bytes(k), "") << k;
  // Seven files and nothing else: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 7);
  EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(SavedLyricsStore, AFailedWriteIsReportedOnceAndChangesNoStoreFile) {
  StoreFixture f;
  ASSERT_TRUE(f.store.appendRecord(filled("a")));
  // A folder in the song file's place: the singers' file comes first, but is not replaced
  // either, so the seven files still agree.
  const std::string blocked = f.store.filePath(SavedLyricsRecord::Song);
  std::filesystem::remove(platform::nativePath(blocked));
  std::filesystem::create_directory(platform::nativePath(blocked));
  EXPECT_FALSE(f.store.appendRecord(filled("b")));
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].text, "文件保存失败：" + blocked);
  EXPECT_EQ(f.prompter.shown[0].title, "tolva_错误提示");
  EXPECT_EQ(f.prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(f.library.count(), 2);  // the record is kept for the next write
  EXPECT_EQ(f.bytes(SavedLyricsRecord::Singer), "a0" + kSep);
  EXPECT_EQ(f.bytes(SavedLyricsRecord::Lyrics), "a6" + kSep);
  EXPECT_TRUE(std::filesystem::is_directory(platform::nativePath(blocked)));
  // No temporary file is left behind: the six files and the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 7);

  testsupport::RecordingPrompter prompter;
  SavedLyricsLibrary library;
  SavedLyricsStore missing(library, prompter, f.store.filePath(0) + "/nowhere");
  EXPECT_FALSE(missing.deleteAllRecords());
  EXPECT_EQ(prompter.shown.size(), 1u);
}
