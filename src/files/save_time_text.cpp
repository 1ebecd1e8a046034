#include "files/save_time_text.h"

namespace files {

std::string saveTimeText(const platform::LocalDateTime& m) {
  using std::to_string;
  std::string text = to_string(m.year) + "年" + to_string(m.month) + "月" + to_string(m.day) + "日";
  if (m.second != 0) {
    text += to_string(m.hour) + "时" + to_string(m.minute) + "分" + to_string(m.second) + "秒";
  } else if (m.minute != 0) {
    text += to_string(m.hour) + "时" + to_string(m.minute) + "分";
  } else if (m.hour != 0) {
    text += to_string(m.hour) + "时";
  }
  return text;
}

}  // namespace files
