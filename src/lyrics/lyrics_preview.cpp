#include "lyrics/lyrics_preview.h"

#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"

namespace lyrics {

LyricsPreview::LyricsPreview(PreviewBoxView& box, LyricsList& list, StatusBar& status,
                             platform::IntervalTimer& slideIn, platform::IntervalTimer& slideOut)
    : m_box(box),
      m_list(list),
      m_status(status),
      // From the parked position the box lands on 70 after 15 steps of 30 and jumps the last
      // pixels to rest; from rest it passes -359 after 15 steps and goes back to its parking.
      m_slideIn(
          slideIn, {30, 70, kOpenTop}, [this](int top) { m_box.move(kLeft, top); },
          [this] { m_box.setEnabled(true); }),
      m_slideOut(slideOut, {-30, -359, kParkedTop}, [this](int top) { m_box.move(kLeft, top); }) {}

void LyricsPreview::previewLyrics() {
  // A slide-out still running would pull against the slide-in and neither would ever reach
  // its end position.
  m_slideOut.stop();
  // The box takes no input until it rests in place, so a pointer crossing its bottom strip
  // while it slides cannot take the text back half-way.
  m_box.setEnabled(false);
  m_box.move(kLeft, kParkedTop);
  m_slideIn.start(kParkedTop);
  m_box.setText(joinLyricsText(m_list));
}

std::optional<std::string> LyricsPreview::typedText() const {
  if (!m_box.isEnabled() || !m_box.edited()) return std::nullopt;
  return m_box.text();
}

bool LyricsPreview::takeBackEditsAtClose() {
  if (!m_box.isEnabled() || !m_box.edited()) return false;
  m_box.setEnabled(false);
  m_list.replaceAll(splitLyricsText(m_box.text()));
  return true;
}

void LyricsPreview::commitPreviewEdits(int y) {
  if (y <= kCommitStripY || !m_box.isEnabled()) return;
  // Disabled, the box gets no more mouse moves: one write-back per opening.
  m_box.setEnabled(false);
  const std::string content = m_box.text();
  m_list.replaceAll(splitLyricsText(content));
  using status_texts::Colon;
  using status_texts::label;
  m_status.setText(StatusBar::Lines,
                   label(StatusBar::Lines, Colon::FullWidth) + std::to_string(m_list.count()));
  m_status.setText(StatusBar::Characters,
                   label(StatusBar::Characters, Colon::FullWidth) + std::to_string(content.size()));
  m_slideOut.start(m_box.top());
}

}  // namespace lyrics
