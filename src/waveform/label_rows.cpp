#include "waveform/label_rows.h"

#include <algorithm>
#include <limits>

namespace waveform {

std::vector<int> stackLabels(const std::vector<LabelSpan>& spans, int rows, double gap, int first) {
  std::vector<double> rowEnds(static_cast<std::size_t>(rows > 0 ? rows : 0),
                              -std::numeric_limits<double>::infinity());
  const bool reserved = !rowEnds.empty() && first >= 0 && first < static_cast<int>(spans.size());
  std::vector<int> placed;
  placed.reserve(spans.size());
  for (int index = 0; index < static_cast<int>(spans.size()); ++index) {
    const LabelSpan& span = spans[static_cast<std::size_t>(index)];
    if (reserved && index == first) {
      placed.push_back(0);
      rowEnds[0] = std::max(rowEnds[0], span.right);
      continue;
    }
    int row = -1;
    for (std::size_t r = 0; r < rowEnds.size(); ++r) {
      const bool clearOfFirst = !reserved || r != 0 || index > first ||
                                span.right + gap <= spans[static_cast<std::size_t>(first)].left;
      if (clearOfFirst && span.left >= rowEnds[r] + gap) {
        row = static_cast<int>(r);
        rowEnds[r] = span.right;
        break;
      }
    }
    placed.push_back(row);
  }
  return placed;
}

}  // namespace waveform
