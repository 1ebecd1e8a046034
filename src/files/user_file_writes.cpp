#include "files/user_file_writes.h"

#include "lyrics/write_failure_report.h"
#include "platform/file_io.h"

namespace files {

bool writeUserFile(platform::Prompter& prompter, const std::string& path,
                   const std::string& bytes) {
  const platform::WriteStatus status = platform::replaceFile(path, bytes);
  if (status == platform::WriteStatus::Ok) return true;
  lyrics::reportWriteFailure(prompter, path, status);
  return false;
}

}  // namespace files
