#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lyrics/lyrics_list.h"
#include "waveform/time_axis.h"

namespace waveform {

// One time tag of the lyrics as a mark on the waveform: the line it belongs to, where the tag
// stands in the line's run of leading tags, and its time.
struct Mark {
  int line = -1;
  std::size_t offset = 0;
  std::size_t length = 0;
  std::int64_t hundredths = 0;
  bool operator==(const Mark&) const = default;
};

// Every tag of every line's run of leading time tags (a chorus line carries one per repeat),
// sorted by time.
class TagMarks {
 public:
  // Reads the marks of `list` again.
  void rebuild(const lyrics::LyricsList& list);
  const std::vector<Mark>& marks() const { return m_marks; }
  // Counts the rebuilds, so that a picture of the marks knows when it is out of date.
  std::uint64_t revision() const { return m_revision; }
  // The index of the mark nearest to `x` on `axis` within `tolerance` pixels, -1 when none.
  int hit(const TimeAxis& axis, double x, double tolerance) const;
  // The marks of `line`.
  std::vector<Mark> ofLine(int line) const;
  // The index of the first mark at or after `hundredths`.
  std::size_t lowerBound(std::int64_t hundredths) const;

 private:
  std::vector<Mark> m_marks;
  std::uint64_t m_revision = 0;
};

// Moves the tag `mark` of `list` to `hundredths` (a full tag, never below zero), provided the
// line still holds that tag where the mark says; false when it does not or nothing changed.
bool moveTag(lyrics::LyricsList& list, const Mark& mark, std::int64_t hundredths);

}  // namespace waveform
