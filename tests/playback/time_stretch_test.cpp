#include "playback/mpv/time_stretch.h"

#include <gtest/gtest.h>

using namespace playback;

// At 1.0 mpv plays the song through no stretcher, and its position is taken as it is.
TEST(TimeStretch, NormalSpeedLeavesMpvAsItIs) {
  const TimeStretch stretch = timeStretchFor(1.0);
  EXPECT_TRUE(stretch.filter.empty());
  EXPECT_EQ(stretch.lagSeconds, 0.0);
}

// The slow speeds share one stretcher, with a search narrower than mpv's own 30 ms, so that
// switching between them does not rebuild mpv's filters; each has its own lag.
TEST(TimeStretch, SlowSpeedsNarrowTheSearchAndCorrectTheirLag) {
  const TimeStretch half = timeStretchFor(0.5);
  const TimeStretch threeQuarter = timeStretchFor(0.75);
  EXPECT_EQ(half.filter.rfind("scaletempo2=", 0), 0u);
  EXPECT_NE(half.filter.find("search-interval=10"), std::string::npos);
  EXPECT_EQ(half.filter, threeQuarter.filter);
  EXPECT_NEAR(half.lagSeconds, 0.0003, 1e-9);
  EXPECT_NEAR(threeQuarter.lagSeconds, 0.0062, 1e-9);
  // Never a guess beyond what was measured.
  EXPECT_NEAR(timeStretchFor(0.25).lagSeconds, half.lagSeconds, 1e-9);
  EXPECT_NEAR(timeStretchFor(1.5).lagSeconds, threeQuarter.lagSeconds, 1e-9);
}
