#include "files/user_file_writes.h"

#include "lyrics/file_io.h"
#include "lyrics/write_failure_report.h"

namespace files {

bool writeUserFile(lyrics::Prompter& prompter, const std::string& path, const std::string& bytes) {
  const lyrics::WriteStatus status = lyrics::replaceFile(path, bytes);
  if (status == lyrics::WriteStatus::Ok) return true;
  lyrics::reportWriteFailure(prompter, path, status);
  return false;
}

}  // namespace files
