// The saved-lyrics store's writer and reader: whatever seven fields a record holds ("=" runs,
// zero bytes, lone lead bytes included), storing the library and loading it again gives back
// exactly what was stored, through the real files; values without "=" keep the plain format;
// and whatever bytes a store file holds, the values read from it are stored back exactly.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/saved_lyrics_library.h"
#include "files/saved_lyrics_store.h"
#include "fuzz_check.h"

namespace {

using files::SavedLyricsRecord;
using files::SavedLyricsStore;

// A folder of its own for the store files, in memory where the machine has /dev/shm.
const std::string& storeFolder() {
  static const fuzzing::ScratchFolder folder("lrc-store-fuzz");
  return folder.path();
}

bool plainValue(const std::string& value) {
  return value.find('=') == std::string::npos && value.find('\0') == std::string::npos &&
         fuzzing::endsOnWholeCharacter(value);
}

void checkStoredAndLoaded(const std::vector<SavedLyricsRecord>& records) {
  for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
    const std::string text = SavedLyricsStore::fileText(records, field);
    const std::vector<std::string> values = SavedLyricsStore::fileValues(text);
    FUZZ_CHECK(values.size() == records.size());
    std::string plain;
    bool allPlain = true;
    for (std::size_t row = 0; row < records.size(); ++row) {
      FUZZ_CHECK(values[row] == records[row].field(field));
      allPlain = allPlain && plainValue(records[row].field(field));
      plain += records[row].field(field);
      plain += SavedLyricsStore::kRecordSeparator;
    }
    // A library without "=" is written byte for byte in the plain format older files have.
    if (allPlain) FUZZ_CHECK(text == plain);
  }

  // The same through the seven files: store, then load into an empty library.
  // Any message box means a store file could not be written, which the fuzzer's own folder
  // never refuses.
  fuzzing::NoMessages prompter;
  files::SavedLyricsLibrary stored;
  stored.appendAll(records);
  SavedLyricsStore writer(stored, prompter, storeFolder());
  FUZZ_CHECK(writer.storeSavedLyrics());
  files::SavedLyricsLibrary loaded;
  SavedLyricsStore reader(loaded, prompter, storeFolder());
  reader.loadSavedLyrics();
  FUZZ_CHECK(loaded.records() == records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The input as one store file of any bytes: the values read from it are stored back exactly.
  const std::vector<std::string> read = SavedLyricsStore::fileValues(fuzzing::bytesOf(data, size));
  std::vector<SavedLyricsRecord> column(read.size());
  for (std::size_t row = 0; row < read.size(); ++row) column[row].singer = read[row];
  FUZZ_CHECK(SavedLyricsStore::fileValues(
                 SavedLyricsStore::fileText(column, SavedLyricsRecord::Singer)) == read);

  // The input as records of seven fields.
  FuzzedDataProvider provider(data, size);
  std::vector<SavedLyricsRecord> records;
  while (provider.remaining_bytes() > 0 && records.size() < 16) {
    SavedLyricsRecord record;
    for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
      record.field(field) = provider.ConsumeRandomLengthString(512);
    }
    records.push_back(std::move(record));
  }
  checkStoredAndLoaded(records);
  return 0;
}
