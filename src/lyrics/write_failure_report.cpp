#include "lyrics/write_failure_report.h"

namespace lyrics {

void reportWriteFailure(platform::Prompter& prompter, const std::string& path,
                        platform::WriteStatus why) {
  std::string text = "文件保存失败：" + path;
  if (why == platform::WriteStatus::DiskFull) {
    text += "\n磁盘空间不足，原有的文件没有改动。";
  } else if (why == platform::WriteStatus::NotPermitted) {
    text += "\n文件夹是只读的或没有写入权限，原有的文件没有改动。";
  }
  prompter.inform(text, "tolva_错误提示", platform::MessageIcon::Warning);
}

}  // namespace lyrics
