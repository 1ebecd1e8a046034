#include "lyrics/status_bar.h"

namespace lyrics {

StatusBar::StatusBar()
    : m_texts{"播放时间:[00:00.00]", "播放进度：00%", "歌手：", "歌曲：", "行：", "字："} {}

void StatusBar::setText(int part, std::string text) {
  auto& slot = m_texts.at(static_cast<std::size_t>(part));
  if (slot == text) return;
  slot = std::move(text);
  for (const auto& listener : m_listeners) listener(part);
}

}  // namespace lyrics
