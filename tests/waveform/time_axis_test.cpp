#include <gtest/gtest.h>

#include "waveform/time_axis.h"

// A five-minute song in a 1000-pixel view, zoomed step by step around points of the view: each
// zoom keeps the time under the pointer in place, never shows less than 2 s or beyond the
// song, and times and pixels map back and forth.
TEST(TimeAxis, ZoomKeepsThePointerTimeAndStaysWithinTheSong) {
  waveform::TimeAxis axis;
  axis.setDuration(300);
  axis.setWidth(1000);
  axis.showAll();
  EXPECT_DOUBLE_EQ(axis.toX(150), 500);
  EXPECT_DOUBLE_EQ(axis.toTime(1000), 300);

  struct Step {
    double x;
    double factor;
    double start;
    double span;
  };
  const Step steps[] = {
      {500, 0.5, 75, 150},     // the middle stays at 150 s
      {0, 0.1, 75, 15},        // the left edge stays at 75 s
      {1000, 0.5, 82.5, 7.5},  // the right edge stays at 90 s
      {250, 0.01, 83.875, 2},  // never below 2 s across: 84.375 s stays under x = 250
      {250, 1000, 0, 300},     // never beyond the whole song
  };
  for (const Step& step : steps) {
    const double before = axis.toTime(step.x);
    axis.zoomAround(step.x, step.factor);
    EXPECT_NEAR(axis.start(), step.start, 1e-9) << "zoom " << step.factor << " at " << step.x;
    EXPECT_NEAR(axis.span(), step.span, 1e-9) << "zoom " << step.factor << " at " << step.x;
    if (step.span != 300) {
      EXPECT_NEAR(axis.toTime(step.x), before, 1e-9);
    }
    for (double t : {axis.start(), axis.start() + axis.span() / 3}) {
      EXPECT_NEAR(axis.toTime(axis.toX(t)), t, 1e-9);
    }
  }

  axis.zoomAround(0, 0.001);  // 0..2 s
  axis.scrollBy(-50);
  EXPECT_DOUBLE_EQ(axis.start(), 0);
  axis.scrollBy(500);  // one second later
  EXPECT_DOUBLE_EQ(axis.start(), 1);
  axis.scrollBy(1e9);
  EXPECT_DOUBLE_EQ(axis.start(), 298);
  // Following the play cursor turns the page with it a tenth from the left edge.
  axis.follow(10, 0.1);
  EXPECT_NEAR(axis.start(), 9.8, 1e-9);
  axis.follow(11, 0.1);
  EXPECT_NEAR(axis.start(), 9.8, 1e-9);
}
