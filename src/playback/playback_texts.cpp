#include "playback/playback_texts.h"

// Function-local statics, so views built during static initialisation still see the texts.
namespace playback::texts {

const std::string& tagCaptionReset() {
  static const std::string text = "加入标签[00:00.00]";
  return text;
}
const std::string& tagCaptionPrefix() {
  static const std::string text = "加入标签:";
  return text;
}
const std::string& pauseCaption() {
  static const std::string text = "暂停";
  return text;
}
const std::string& resumeCaption() {
  static const std::string text = "继续";
  return text;
}
const std::string& playTimePrefix() {
  static const std::string text = "播放时间:";
  return text;
}
const std::string& progressPrefix() {
  static const std::string text = "播放进度:";
  return text;
}
const std::string& singerPrefix() {
  static const std::string text = "歌手:";
  return text;
}
const std::string& songPrefix() {
  static const std::string text = "歌曲:";
  return text;
}
const std::string& mp3Format() {
  static const std::string text = "mp3格式";
  return text;
}
const std::string& wmaFormat() {
  static const std::string text = "wma格式";
  return text;
}
const std::string& fileOk() {
  static const std::string text = "正常";
  return text;
}

}  // namespace playback::texts
