#pragma once

#include <optional>
#include <string>

#include "lyrics/lyrics_list.h"
#include "lyrics/preview_box_view.h"
#include "lyrics/status_bar.h"
#include "platform/slide.h"

namespace lyrics {

// Drives the preview box: it slides in with the whole lyrics, the user edits freely, and when
// the pointer reaches the box's bottom strip the text replaces the lyrics and the box slides out.
class LyricsPreview {
 public:
  // Positions of the box, and the strip that takes the text back.
  static constexpr int kLeft = 0;
  static constexpr int kParkedTop = -380;
  static constexpr int kOpenTop = 91;
  static constexpr int kCommitStripY = 360;

  LyricsPreview(PreviewBoxView& box, LyricsList& list, StatusBar& status,
                platform::IntervalTimer& slideIn, platform::IntervalTimer& slideOut);

  // PreviewLyrics: parks the box above the window, fills it with the whole lyrics and starts
  // the slide-in.
  void previewLyrics();
  // A mouse move over the box at `y` (box coordinates): the bottom strip takes the text back.
  void commitPreviewEdits(int y);
  // At close: an open box whose text the user changed takes it back into the list, as its bottom
  // strip would, so that what was typed there goes into the recovery file and is not lost.
  // False when there was nothing to take back.
  bool takeBackEditsAtClose();
  // The open box's text while the user has changed it and not yet taken it back.
  std::optional<std::string> typedText() const;
  // The slides of 时钟_歌词预览开 and 时钟_歌词预览关.
  platform::Slide& slideIn() { return m_slideIn; }
  platform::Slide& slideOut() { return m_slideOut; }

 private:
  PreviewBoxView& m_box;
  LyricsList& m_list;
  StatusBar& m_status;
  platform::Slide m_slideIn;
  platform::Slide m_slideOut;
};

}  // namespace lyrics
