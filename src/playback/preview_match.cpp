#include "playback/preview_match.h"

#include "lyrics/text_rules.h"

namespace playback {

const std::string& previewFallbackText() {
  static const std::string text = "青禾歌词编辑器—写歌词就这么简单、music~";
  return text;
}

std::optional<PreviewMatch> matchPreviewLine(const lyrics::LyricsList& lines,
                                             std::string_view currentTag) {
  const std::string_view key = currentTag.substr(0, kPreviewKeyLength);
  // Every line is compared but only the last match is split: it is the one that wins for both
  // the display and the selection.
  int last = -1;
  for (int i = 0; i < lines.count(); ++i) {
    if (lines.line(i).substr(0, kPreviewKeyLength) == key) last = i;
  }
  if (last < 0) return std::nullopt;
  const std::vector<std::string> pieces = lyrics::splitBytes(lines.line(last), "]");
  // A line that is only its tag, or that has no "]", gives one piece.
  if (pieces.size() < 2) return PreviewMatch{last, previewFallbackText()};
  return PreviewMatch{last, pieces[1]};
}

}  // namespace playback
