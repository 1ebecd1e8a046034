#include "waveform/tag_marks.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "lyrics/tag_corrections.h"

namespace waveform {

void TagMarks::rebuild(const lyrics::LyricsList& list) {
  ++m_revision;
  m_marks.clear();
  for (int index = 0; index < list.count(); ++index) {
    const std::string_view line = list.line(index);
    std::size_t at = 0;
    while (const auto tag = lyrics::leadingTimeTag(line.substr(at))) {
      m_marks.push_back({index, at, tag->second, tag->first});
      at += tag->second;
    }
  }
  std::stable_sort(m_marks.begin(), m_marks.end(),
                   [](const Mark& a, const Mark& b) { return a.hundredths < b.hundredths; });
}

std::size_t TagMarks::lowerBound(std::int64_t hundredths) const {
  return static_cast<std::size_t>(
      std::lower_bound(m_marks.begin(), m_marks.end(), hundredths,
                       [](const Mark& mark, std::int64_t t) { return mark.hundredths < t; }) -
      m_marks.begin());
}

int TagMarks::hit(const TimeAxis& axis, double x, double tolerance) const {
  const double from = axis.toTime(x - tolerance) * 100;
  const double to = axis.toTime(x + tolerance) * 100;
  int best = -1;
  double bestDistance = tolerance;
  for (std::size_t i = lowerBound(static_cast<std::int64_t>(std::floor(from)));
       i < m_marks.size() && m_marks[i].hundredths <= to; ++i) {
    const double distance = std::abs(axis.toX(m_marks[i].hundredths / 100.0) - x);
    if (distance <= bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

std::vector<Mark> TagMarks::ofLine(int line) const {
  std::vector<Mark> found;
  for (const Mark& mark : m_marks) {
    if (mark.line == line) found.push_back(mark);
  }
  return found;
}

bool moveTag(lyrics::LyricsList& list, const Mark& mark, std::int64_t hundredths) {
  if (mark.line < 0 || mark.line >= list.count()) return false;
  const std::string_view line = list.line(mark.line);
  if (mark.offset > line.size()) return false;
  const auto tag = lyrics::leadingTimeTag(line.substr(mark.offset));
  if (!tag || tag->second != mark.length) return false;
  std::string moved(line.substr(0, mark.offset));
  moved += lyrics::fullTimeTag(hundredths);
  moved += line.substr(mark.offset + mark.length);
  return list.setLine(mark.line, std::move(moved));
}

}  // namespace waveform
