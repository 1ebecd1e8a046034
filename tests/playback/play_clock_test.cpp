#include "playback/play_clock.h"

#include <gtest/gtest.h>

#include "playback/playback_fakes.h"
#include "support/fake_interval_timer.h"

using namespace playback;
using namespace playbacktest;

namespace {

struct ClockFixture : ::testing::Test {
  testsupport::FakeIntervalTimer timer;
  lyrics::CurrentTimeTag tag;
  PlaybackDisplay display;
  lyrics::StatusBar status;
  testsupport::FakeAudioPlayer player;
  FakeClock now;
  PlayClock clock{timer, tag, display, status, player, now};

  void report(double seconds, bool advancing = true) {
    player.position = PositionSample{seconds, now.now, advancing};
  }
  std::string tickTag() {
    clock.tick();
    return tag.value();
  }
};

}  // namespace

TEST_F(ClockFixture, StopwatchWithoutPositionsHaltsOnPauseAndWritesTheDisplays) {
  clock.reset();
  clock.start();
  EXPECT_EQ(timer.interval(), PlayClock::kTickMs);
  now.advanceMs(1234.6);
  EXPECT_EQ(tickTag(), "[00:01.23]");
  EXPECT_EQ(display.tagCaption(), "加入标签:[00:01.23]");
  EXPECT_EQ(status.text(lyrics::StatusBar::PlayTime), "播放时间:[00:01.23]");

  clock.halt();
  EXPECT_EQ(timer.interval(), 0);
  now.advanceMs(5000);
  EXPECT_EQ(tickTag(), "[00:01.23]");
  clock.start();
  now.advanceMs(100);
  EXPECT_EQ(tickTag(), "[00:01.33]");

  // Reset zeroes the time but leaves the tick and the tag until the next tick.
  clock.reset();
  EXPECT_TRUE(clock.running());
  EXPECT_EQ(tag.value(), "[00:01.33]");
  EXPECT_EQ(clock.elapsedHundredths(), 0);
  now.advanceMs(59'995);
  EXPECT_EQ(tickTag(), "[01:00.00]");  // rounded to the nearest hundredth
}

TEST_F(ClockFixture, FollowsThePlayerPositionBetweenReports) {
  clock.reset();
  clock.start();
  report(12.0);
  now.advanceMs(347);
  EXPECT_EQ(tickTag(), "[00:12.35]");
  report(12.34);  // a report a little behind the estimate corrects it
  EXPECT_EQ(tickTag(), "[00:12.34]");

  // A position that does not advance (loading, paused) holds the clock.
  report(3.0, false);
  now.advanceMs(800);
  EXPECT_EQ(tickTag(), "[00:03.00]");

  // The player stopped on its own: the time goes on from where it was, not back to zero.
  player.position.reset();
  now.advanceMs(20);
  EXPECT_EQ(tickTag(), "[00:03.02]");

  // Reports from before a reset belong to the previous playback.
  report(40.0);
  now.advanceMs(1);
  clock.reset();
  now.advanceMs(500);
  EXPECT_EQ(tickTag(), "[00:00.50]");
}

TEST_F(ClockFixture, MinutesWrapAtOneHundredAndFieldsShareOneTime) {
  clock.start();
  report(6000.0 + 61.5, false);
  EXPECT_EQ(tickTag(), "[01:01.50]");
  report(99 * 60 + 59.994, false);
  EXPECT_EQ(tickTag(), "[99:59.99]");
  EXPECT_EQ(PlayClock::timeTag(100 * 6000 + 7), "[00:00.07]");

  // Reports every 80 ms, each a little late, ticks every 10 ms: the time never jumps and the
  // second changes exactly when the hundredths wrap.
  now.advanceMs(1);
  clock.reset();
  double audio = 0.0;
  std::int64_t previous = 0;
  std::string previousTag = tickTag();
  for (int tickIndex = 1; tickIndex <= 1000; ++tickIndex) {
    now.advanceMs(10);
    audio += 0.010;
    if (tickIndex % 8 == 0) report(audio - 0.001 * (tickIndex % 3));
    const std::string current = tickTag();
    const std::int64_t hundredths = clock.elapsedHundredths();
    ASSERT_LE(std::abs(hundredths - previous - 1), 1) << current;
    if (current.substr(4, 2) != previousTag.substr(4, 2)) {
      EXPECT_LE(std::stoi(current.substr(7, 2)), 1) << previousTag << " -> " << current;
    }
    EXPECT_NEAR(static_cast<double>(hundredths), audio * 100, 1.0);
    previous = hundredths;
    previousTag = current;
  }
}

TEST_F(ClockFixture, AStampReadsTheTagOfThisMomentOnlyWhileRunning) {
  clock.reset();
  clock.start();
  now.advanceMs(2000);
  clock.tick();
  now.advanceMs(7);  // a key press between two ticks
  EXPECT_EQ(clock.currentTag(), "[00:02.01]");
  EXPECT_EQ(tag.value(), "[00:02.01]");
  clock.halt();
  clock.reset();
  now.advanceMs(500);
  EXPECT_EQ(clock.currentTag(), "[00:02.01]");  // a halted clock keeps the tag it halted with
  EXPECT_EQ(tag.value(), "[00:02.01]");
}

TEST_F(ClockFixture, AStalledPlayerHoldsTheClockInsteadOfRunningOnOverSilence) {
  clock.reset();
  clock.start();
  report(5.0);
  now.advanceMs(600);
  EXPECT_EQ(tickTag(), "[00:05.60]");
  // No report for a long time: the sound is stuck, so the time must not run on without it.
  now.advanceMs(5000);
  EXPECT_EQ(tickTag(), "[00:06.00]");
  EXPECT_EQ(clock.elapsedHundredths(), 600);
  // The player plays again and reports: the clock follows it.
  report(5.2);
  now.advanceMs(100);
  EXPECT_EQ(tickTag(), "[00:05.30]");
}
