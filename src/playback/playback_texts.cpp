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
const std::string& pauseButtonCaption(PlaybackState state) {
  return offersResume(state) ? resumeCaption() : pauseCaption();
}
std::string formatOf(std::string_view extension) { return std::string(extension) + "格式"; }
const std::string& mp3Format() {
  static const std::string text = formatOf("mp3");
  return text;
}
const std::string& wmaFormat() {
  static const std::string text = formatOf("wma");
  return text;
}
const std::string& fileOk() {
  static const std::string text = "正常";
  return text;
}

}  // namespace playback::texts
