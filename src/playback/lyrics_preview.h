#pragma once

#include <string>

#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/interval_timer.h"
#include "playback/preview_box_view.h"

namespace playback {

// Drives the preview box: it slides in with the whole lyrics, the user edits freely, and when
// the pointer reaches the box's bottom strip the text replaces the lyrics and the box slides out.
class LyricsPreview {
 public:
  // Positions of the box, and the strip that takes the text back.
  static constexpr int kLeft = 0;
  static constexpr int kParkedTop = -380;
  static constexpr int kOpenTop = 91;
  static constexpr int kSlideStep = 30;
  static constexpr int kSlideInLastStep = 70;
  static constexpr int kSlideOutLastStep = -359;
  static constexpr int kCommitStripY = 360;
  static constexpr int kTickMilliseconds = 10;

  LyricsPreview(PreviewBoxView& box, lyrics::LyricsList& list, lyrics::StatusBar& status,
                platform::IntervalTimer& slideIn, platform::IntervalTimer& slideOut);

  // Parks the box above the window, fills it with `text` and starts the slide-in.
  void previewLyrics(const std::string& text);
  // One tick of the slide-in timer.
  void slideInTick();
  // A mouse move over the box at `y` (box coordinates): the bottom strip takes the text back.
  void commitPreviewEdits(int y);
  // One tick of the slide-out timer.
  void slideOutTick();

 private:
  PreviewBoxView& m_box;
  lyrics::LyricsList& m_list;
  lyrics::StatusBar& m_status;
  platform::IntervalTimer& m_slideIn;
  platform::IntervalTimer& m_slideOut;
};

}  // namespace playback
