#include "files/user_file_writes.h"

#include "platform/file_io.h"

namespace files {

void reportWriteFailure(platform::Prompter& prompter, const std::string& path) {
  prompter.inform("文件保存失败：" + path, "tolva_错误提示", platform::MessageIcon::Warning);
}

bool writeUserFile(platform::Prompter& prompter, const std::string& path,
                   const std::string& bytes) {
  if (platform::writeFileReplacing(path, bytes)) return true;
  reportWriteFailure(prompter, path);
  return false;
}

}  // namespace files
