// The recovery file's reader: whatever bytes a recovery file holds, reading it never crashes
// and never trusts a count it cannot check; a file it accepts is one the writer would have made
// byte for byte (writing the document read from it gives back the same bytes), with every line
// inside the file and the selection on a line or none. Each input is also tried with a right
// checksum, so the checks of the counts themselves are reached.
#include <string>

#include "files/recovery_file.h"
#include "fuzz_check.h"
#include "lyrics/lyrics_list.h"

namespace {

void checkRead(const std::string& bytes) {
  std::optional<files::RecoveredDocument> document = files::decodeRecoveryFile(bytes);
  if (!document) return;
  const std::size_t count = document->lines.lineCount();
  FUZZ_CHECK(document->selection >= -1 && document->selection < static_cast<long>(count));
  FUZZ_CHECK(document->sides.size() <= files::kMaxRecoverySides);
  std::size_t total = 0;
  for (std::size_t i = 0; i < count; ++i) total += document->lines.line(i).size();
  FUZZ_CHECK(total <= bytes.size());
  lyrics::LyricsList list;
  list.replaceAll(std::move(document->lines));
  const std::string again = files::encodeRecoveryFile(
      {list.snapshot(), document->selection, document->form, document->sides});
  FUZZ_CHECK(again == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string bytes(fuzzing::bytesOf(data, size));
  checkRead(bytes);
  files::sealRecoveryFile(bytes);
  checkRead(bytes);
  return 0;
}
