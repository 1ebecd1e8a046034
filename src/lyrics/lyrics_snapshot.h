#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/lyrics_text.h"

namespace lyrics {

// The lines of a LyricsList at one moment, for another thread to read while the list goes on
// changing: the lines' positions are copied, the blocks that hold their bytes are shared (the
// list never changes bytes a line has used), so taking one costs a copy of 8 bytes per line.
class LyricsSnapshot {
 public:
  using Span = LyricsText::Span;

  // No lines.
  LyricsSnapshot() = default;

  // Number of lines.
  int count() const { return static_cast<int>(m_spans.size()); }
  // Line `index` (0..count-1); "" outside.
  std::string_view line(int index) const;
  // Takes the positions' storage out, so the next snapshot can fill it without allocating.
  std::vector<Span> releaseSpans() { return std::move(m_spans); }

 private:
  friend class LyricsList;
  // Bytes at positions [base, base + bytes->size()).
  struct Piece {
    std::uint32_t base = 0;
    std::shared_ptr<const std::string> bytes;
  };

  std::vector<Span> m_spans;
  std::vector<Piece> m_pieces;
};

}  // namespace lyrics
