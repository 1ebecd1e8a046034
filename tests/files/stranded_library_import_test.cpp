#include "files/stranded_library_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/saved_lyrics_store.h"
#include "platform/file_io.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

using files::SavedLyricsLibrary;
using files::SavedLyricsRecord;
using files::SavedLyricsStore;
using files::StrandedLibraryImport;

namespace {

SavedLyricsRecord record(const std::string& singer, const std::string& lyrics) {
  SavedLyricsRecord r;
  r.singer = singer;
  r.lyrics = lyrics;
  return r;
}

// A library folder of its own, written and read through the real store files.
struct LibraryFolder {
  testsupport::TempDir dir;
  testsupport::RecordingPrompter prompter;
  std::string path = platform::gbkPath(dir.path().string());

  void store(const std::vector<SavedLyricsRecord>& records) {
    SavedLyricsLibrary library;
    library.appendAll(records);
    ASSERT_TRUE(SavedLyricsStore(library, prompter, path).storeSavedLyrics());
  }
  std::vector<SavedLyricsRecord> load() {
    SavedLyricsLibrary library;
    SavedLyricsStore(library, prompter, path).loadSavedLyrics();
    return library.records();
  }
  std::string bytes(int field) {
    SavedLyricsLibrary library;
    return platform::readFileBytes(SavedLyricsStore(library, prompter, path).filePath(field)).bytes;
  }
};

TEST(StrandedLibraryImport, RecordsOfTheOtherFolderComeInOnceAndNeverTwice) {
  const SavedLyricsRecord a = record("A", "[00:01.00]\xc7\xe0\r\n");
  const SavedLyricsRecord b = record("B", "");
  const SavedLyricsRecord c = record("C", "x\r\n");
  struct Case {
    const char* name;
    std::vector<SavedLyricsRecord> library, stranded;
    bool noteBefore;
    int added;
    std::vector<SavedLyricsRecord> after;
    bool noteAfter;
  };
  const Case cases[] = {
      {"new records go after the library's own", {c}, {a, b}, false, 2, {c, a, b}, true},
      {"a record already in is not added again", {a}, {a, b}, false, 1, {a, b}, true},
      {"every record already in: only the note", {a, b}, {a, b}, false, 0, {a, b}, true},
      {"nothing in the other folder: no note", {c}, {}, false, 0, {c}, false},
      {"the note is there: nothing comes in", {c}, {a}, true, 0, {c}, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    LibraryFolder program, stranded;
    program.store(test.library);
    if (!test.stranded.empty()) stranded.store(test.stranded);
    const std::string note =
        program.dir.file(platform::nativePath(StrandedLibraryImport::noteFileName()));
    if (test.noteBefore)
      program.dir.write(platform::nativePath(StrandedLibraryImport::noteFileName()), "");
    std::vector<std::string> old;
    for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field)
      old.push_back(stranded.bytes(field));

    EXPECT_EQ(StrandedLibraryImport::importOnce(program.path, stranded.path), test.added);
    EXPECT_EQ(program.load(), test.after);
    EXPECT_EQ(std::filesystem::exists(note), test.noteAfter);
    // A second start brings nothing in, and the old files stay as they were.
    EXPECT_EQ(StrandedLibraryImport::importOnce(program.path, stranded.path), 0);
    EXPECT_EQ(program.load(), test.after);
    for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field)
      EXPECT_EQ(stranded.bytes(field), old[static_cast<std::size_t>(field)]);
  }
}

}  // namespace
