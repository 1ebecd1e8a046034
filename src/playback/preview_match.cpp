#include "playback/preview_match.h"

#include "lyrics/text_rules.h"

namespace playback {

const std::string& previewFallbackText() {
  static const std::string text = "青禾歌词编辑器—写歌词就这么简单、music~";
  return text;
}

std::optional<PreviewMatch> matchPreviewLine(const std::vector<std::string>& lines,
                                             std::string_view currentTag) {
  const std::string_view key = currentTag.substr(0, kPreviewKeyLength);
  // Every line is compared but only the last match is split: it is the one that wins for both
  // the display and the selection.
  int last = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (std::string_view(lines[i]).substr(0, kPreviewKeyLength) == key) last = static_cast<int>(i);
  }
  if (last < 0) return std::nullopt;
  const std::vector<std::string> pieces =
      lyrics::splitBytes(lines[static_cast<std::size_t>(last)], "]");
  // A line that is only its tag, or that has no "]", gives one piece.
  if (pieces.size() < 2) return PreviewMatch{last, previewFallbackText()};
  return PreviewMatch{last, pieces[1]};
}

}  // namespace playback
