#include "files/stranded_library_import.h"

#include <string_view>
#include <unordered_set>
#include <vector>

#include "files/saved_lyrics_library.h"
#include "files/saved_lyrics_store.h"
#include "lyrics/signature.h"
#include "platform/file_io.h"
#include "platform/prompter.h"

namespace files {

namespace {

// Start-up shows no message box: a library that cannot be written is tried again next time.
class SilentPrompter : public platform::Prompter {
 public:
  void inform(const std::string&, const std::string&, platform::MessageIcon) override {}
  bool ask(const std::string&, const std::string&, platform::MessageIcon) override { return false; }
};

std::string withSeparator(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

// The seven fields with their lengths in front, so that no two records share a key.
std::string recordKey(const SavedLyricsRecord& record) {
  std::string key;
  for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
    key += std::to_string(record.field(field).size());
    key += ':';
    key += record.field(field);
  }
  return key;
}

// A signature set in the other folder comes along unless this folder has one of its own.
void copySignatureIfMissing(const std::string& programDirectory,
                            const std::string& strandedDirectory) {
  const std::string target = withSeparator(programDirectory) + lyrics::Signature::fileName();
  if (platform::fileExists(target)) return;
  const platform::FileBytes old =
      platform::readFileBytes(withSeparator(strandedDirectory) + lyrics::Signature::fileName());
  if (old.status == platform::ReadStatus::Ok) platform::writeFileReplacing(target, old.bytes);
}

}  // namespace

std::string StrandedLibraryImport::noteFileName() { return "保存歌词导入记录.txt"; }

int StrandedLibraryImport::importOnce(const std::string& programDirectory,
                                      const std::string& strandedDirectory) {
  const std::string note = withSeparator(programDirectory) + noteFileName();
  if (platform::fileExists(note)) return 0;
  copySignatureIfMissing(programDirectory, strandedDirectory);
  SilentPrompter silent;
  SavedLyricsLibrary stranded;
  SavedLyricsStore(stranded, silent, strandedDirectory).loadSavedLyrics();
  if (stranded.count() == 0) return 0;

  SavedLyricsLibrary library;
  SavedLyricsStore store(library, silent, programDirectory);
  store.loadSavedLyrics();
  std::unordered_set<std::string> present;
  for (const SavedLyricsRecord& record : library.records()) present.insert(recordKey(record));
  std::vector<SavedLyricsRecord> added;
  for (const SavedLyricsRecord& record : stranded.records()) {
    if (!present.contains(recordKey(record))) added.push_back(record);
  }
  const int count = static_cast<int>(added.size());
  library.appendAll(std::move(added));
  // The library first: a start that ends between the two writes imports again and finds every
  // record already in.
  if (count > 0 && !store.storeSavedLyrics()) return -1;
  platform::writeFileReplacing(
      note, "已从 " + withSeparator(strandedDirectory) + " 导入 " + std::to_string(count) +
                " 条保存的歌词记录（原文件保留在那里）。\r\n"
                "删除本文件后，下次启动时会再次导入；已有的记录不会重复。\r\n");
  return count;
}

}  // namespace files
