#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/saved_lyrics_library.h"
#include "files/saved_lyrics_record.h"
#include "platform/prompter.h"

namespace files {

// Keeps the saved-lyrics library in seven parallel files beside the program, one per field:
// loads them at start-up and rewrites all seven after every change and at shutdown, each
// replaced atomically, so a crash loses nothing that was confirmed as saved.
class SavedLyricsStore {
 public:
  // Ends every value in every store file.
  static constexpr std::string_view kRecordSeparator = "======";

  // `directory` holds the seven files (GBK bytes, no trailing separator needed).
  SavedLyricsStore(SavedLyricsLibrary& library, platform::Prompter& prompter,
                   std::string directory);

  // Appends the records of the seven files to the library (the singer file gives the count).
  void loadSavedLyrics();
  // Writes the whole library to the seven files, replacing them only once all seven texts are
  // on the disk; a failure is reported once. True when all seven were written.
  bool storeSavedLyrics();

  // Adds `record` as the last row and writes the library; true when it reached the disk.
  bool appendRecord(SavedLyricsRecord record);
  // Removes row `row` and writes the library; false when there is no such row or the
  // write failed.
  bool deleteRecord(int row);
  // Removes every row and writes the library; true when it reached the disk.
  bool deleteAllRecords();

  // The library these files hold.
  SavedLyricsLibrary& library() const { return m_library; }
  // Full path of the file of field `field` (0-6).
  std::string filePath(int field) const;
  // Name of the file of field `field` (GBK), e.g. the singers' file.
  static std::string fileName(int field);

  // The bytes of one store file: field `field` of every record, each followed by the
  // separator.
  static std::string fileText(const std::vector<SavedLyricsRecord>& records, int field);
  // The values of one store file's bytes, read back exactly as fileText wrote them.
  static std::vector<std::string> fileValues(std::string_view bytes);
  // `value` as it stands in a store file.
  static std::string encodeValue(std::string_view value);
  // A value from a store file as the library holds it.
  static std::string decodeValue(std::string_view stored);

 private:
  SavedLyricsLibrary& m_library;
  platform::Prompter& m_prompter;
  std::string m_directory;
};

}  // namespace files
