#pragma once

#include <vector>

namespace waveform {

// The pixels a mark's label covers across the view.
struct LabelSpan {
  double left = 0;
  double right = 0;
};

// Stacks labels so that none covers another: each label, in the order of their left edges, goes
// to the topmost of `rows` rows where it keeps `gap` pixels clear of the labels beside it in that
// row. The label at index `first` (the current line's), if any, takes the top row before all
// others, so it is never the one left out. The row of each label, or -1 when no row has room for
// it (its mark then stands without a label until the view is zoomed in).
std::vector<int> stackLabels(const std::vector<LabelSpan>& spans, int rows, double gap,
                             int first = -1);

}  // namespace waveform
