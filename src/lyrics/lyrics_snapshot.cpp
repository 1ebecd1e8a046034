#include "lyrics/lyrics_snapshot.h"

#include <algorithm>

namespace lyrics {

std::string_view LyricsSnapshot::line(int index) const {
  if (index < 0 || index >= count()) return {};
  const Span span = m_spans[static_cast<std::size_t>(index)];
  if (span.size == 0) return {};
  auto piece =
      std::upper_bound(m_pieces.begin(), m_pieces.end(), span.offset,
                       [](std::uint32_t offset, const Piece& p) { return offset < p.base; });
  if (piece == m_pieces.begin()) return {};
  --piece;
  return std::string_view(*piece->bytes).substr(span.offset - piece->base, span.size);
}

}  // namespace lyrics
