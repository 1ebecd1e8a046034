#include "lyrics/status_bar.h"

#include "lyrics/status_texts.h"

namespace lyrics {

StatusBar::StatusBar() {
  for (int part = 0; part < kPartCount; ++part) {
    m_texts.at(static_cast<std::size_t>(part)) = status_texts::startText(part);
  }
}

void StatusBar::setText(int part, std::string text) {
  auto& slot = m_texts.at(static_cast<std::size_t>(part));
  if (slot == text) return;
  slot = std::move(text);
  for (const auto& listener : m_listeners) listener(part);
}

}  // namespace lyrics
