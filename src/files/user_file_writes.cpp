#include "files/user_file_writes.h"

#include "lyrics/file_io.h"

namespace files {

void reportWriteFailure(lyrics::Prompter& prompter, const std::string& path) {
  prompter.inform("文件保存失败：" + path, "tolva_错误提示", lyrics::MessageIcon::Warning);
}

bool writeUserFile(lyrics::Prompter& prompter, const std::string& path, const std::string& bytes) {
  if (lyrics::writeFileReplacing(path, bytes)) return true;
  reportWriteFailure(prompter, path);
  return false;
}

}  // namespace files
