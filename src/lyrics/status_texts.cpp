#include "lyrics/status_texts.h"

#include <array>

#include "lyrics/current_time_tag.h"
#include "lyrics/status_bar.h"
#include "lyrics/text_rules.h"

namespace lyrics::status_texts {

namespace {

using Texts = std::array<std::string, StatusBar::kPartCount>;

// Function-local statics, so views built during static initialisation still see the texts.
const Texts& labels(Colon colon) {
  static const Texts ascii = {"播放时间:", "播放进度:", "歌手:", "歌曲:", "行:", "字:"};
  static const Texts fullWidth = {"播放时间：", "播放进度：", "歌手：", "歌曲：", "行：", "字："};
  return colon == Colon::Ascii ? ascii : fullWidth;
}

const std::string& at(const Texts& texts, int part) {
  return texts.at(static_cast<std::size_t>(part));
}

// The zero readings of parts 0 and 1, behind their labels.
Texts withZeroReadings(Colon playTimeColon) {
  Texts texts = labels(Colon::FullWidth);
  texts[StatusBar::PlayTime] = at(labels(playTimeColon), StatusBar::PlayTime) + kZeroTimeTag;
  texts[StatusBar::Progress] += "00%";
  return texts;
}

}  // namespace

const std::string& label(int part, Colon colon) { return at(labels(colon), part); }

const std::string& startText(int part) {
  // Only part 0 of the window's design has an ASCII colon.
  static const Texts texts = withZeroReadings(Colon::Ascii);
  return at(texts, part);
}

const std::string& newFileText(int part) {
  static const Texts texts = withZeroReadings(Colon::FullWidth);
  return at(texts, part);
}

std::string playTimeText(std::string_view tag) {
  return label(StatusBar::PlayTime, Colon::Ascii) + std::string(tag);
}

std::string progressText(int percent) {
  return label(StatusBar::Progress, Colon::Ascii) + twoDigitField(percent) + "%";
}

}  // namespace lyrics::status_texts
