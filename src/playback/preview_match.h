#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/lyrics_list.h"

namespace playback {

// The line test play shows for the clock's current second, and the text the display box gets.
struct PreviewMatch {
  int index = -1;
  std::string text;
};

// Bytes of the current time tag that take part: "[mm:ss", without the hundredths.
inline constexpr std::size_t kPreviewKeyLength = 6;

// The last line whose first 6 bytes equal the first 6 bytes of `currentTag`, with the text
// between its first and second "]" (or the fallback text when the split gives one piece);
// nothing when no line matches.
std::optional<PreviewMatch> matchPreviewLine(const lyrics::LyricsList& lines,
                                             std::string_view currentTag);

// "青禾歌词编辑器—写歌词就这么简单、music~", shown for a line that is only a tag (GBK bytes).
const std::string& previewFallbackText();

}  // namespace playback
