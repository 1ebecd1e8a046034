#include <gtest/gtest.h>

#include "waveform/label_rows.h"

// Labels in the order of their marks: one that would cover the label before it in a row goes to
// the next row down; one with no row left is not drawn; a row is free again once its last label
// has ended (with the gap clear).
TEST(LabelRows, LabelsThatWouldCoverEachOtherGoToRowsBelowOrAreLeftOut) {
  struct Case {
    const char* what;
    std::vector<waveform::LabelSpan> spans;
    int rows;
    std::vector<int> placed;
    int first = -1;
  };
  const Case cases[] = {
      {"far apart", {{0, 50}, {60, 110}, {120, 170}}, 4, {0, 0, 0}},
      {"within the gap", {{0, 50}, {52, 100}}, 4, {0, 1}},
      {"a cluster", {{0, 50}, {10, 60}, {20, 70}, {30, 80}, {40, 90}}, 4, {0, 1, 2, 3, -1}},
      {"two rows", {{0, 50}, {10, 60}, {20, 70}, {58, 90}}, 2, {0, 1, -1, 0}},
      {"the top row again", {{0, 50}, {10, 200}, {60, 80}}, 4, {0, 1, 0}},
      {"no room at all", {{0, 50}}, 0, {-1}},
      {"the current line's first", {{0, 50}, {10, 60}, {20, 70}}, 2, {1, -1, 0}, 2},
      {"clear of the current line's, the top row still",
       {{0, 20}, {30, 80}, {90, 100}},
       1,
       {0, 0, 0},
       1},
      {"no room at all for the current line's", {{0, 50}}, 0, {-1}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(waveform::stackLabels(c.spans, c.rows, 4, c.first), c.placed) << c.what;
  }
}
