#include "waveform/label_rows.h"

#include <limits>

namespace waveform {

std::vector<int> stackLabels(const std::vector<LabelSpan>& spans, int rows, double gap) {
  std::vector<double> rowEnds(static_cast<std::size_t>(rows > 0 ? rows : 0),
                              -std::numeric_limits<double>::infinity());
  std::vector<int> placed;
  placed.reserve(spans.size());
  for (const LabelSpan& span : spans) {
    int row = -1;
    for (std::size_t r = 0; r < rowEnds.size(); ++r) {
      if (span.left >= rowEnds[r] + gap) {
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
