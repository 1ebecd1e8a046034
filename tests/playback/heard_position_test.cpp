#include "playback/heard_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "playback/player_reports.h"

using namespace playback;

namespace {

constexpr std::int64_t kMs = 1'000'000;

// One step of what a player says, at a time in milliseconds, and the position the clock must
// then get (in seconds) and whether it runs on from there.
struct Step {
  enum What { Report, OutputStopped, Pause, Resume, Jump };
  What what;
  std::int64_t atMs;
  double seconds;  // the reported position (Report), the target (Jump)
  double expected;
  bool advancing;
};

void play(const char* name, double start, const std::vector<Step>& steps) {
  SCOPED_TRACE(name);
  HeardPosition heard;
  EXPECT_FALSE(heard.sample());
  heard.start(start, 0);
  for (const Step& step : steps) {
    const std::int64_t now = step.atMs * kMs;
    switch (step.what) {
      case Step::Report:
        heard.report(step.seconds, now);
        break;
      case Step::OutputStopped:
        heard.outputStopped(now);
        break;
      case Step::Pause:
        heard.pause(now);
        break;
      case Step::Resume:
        heard.resume();
        break;
      case Step::Jump:
        heard.jump(step.seconds, now);
        break;
    }
    const auto sample = heard.sample();
    ASSERT_TRUE(sample) << "at " << step.atMs << " ms";
    EXPECT_NEAR(sample->positionNsAt(now) / 1e9, step.expected, 1e-9) << "at " << step.atMs;
    EXPECT_EQ(sample->advancing, step.advancing) << "at " << step.atMs;
  }
  heard.clear();
  EXPECT_FALSE(heard.sample());
}

}  // namespace

TEST(HeardPosition, HoldsUntilTheOutputPlaysAndMovesThenFollowsIt) {
  const Step::What R = Step::Report, S = Step::OutputStopped;
  // The output opens late: before it plays there is no report at all, then it reports the
  // start for a while before it moves.
  play("output opens late", 0.0,
       {{S, 10, 0, 0.0, false},
        {S, 400, 0, 0.0, false},
        {R, 410, 0.0, 0.0, false},
        {R, 420, 0.0, 0.0, false},
        {R, 430, 0.004, 0.004, true},
        {R, 440, 0.014, 0.014, true}});
  // A first report already past the start is heard at once.
  play("output already moving", 0.0, {{R, 30, 0.0007, 0.0007, true}});
  // The output stops reporting (it is restarting): the position holds, and goes on only once
  // the output moves on from where it stood.
  play("output restarts", 0.0,
       {{R, 10, 1.0, 1.0, true},
        {R, 20, 1.01, 1.01, true},
        {S, 30, 0, 1.01, false},
        {S, 300, 0, 1.01, false},
        {R, 310, 1.01, 1.01, false},
        {R, 320, 1.02, 1.02, true}});
  // Playing from a later start position holds at that position, not at 0.
  play("start position", 12.5, {{R, 10, 12.5, 12.5, false}, {R, 20, 12.51, 12.51, true}});
}

TEST(HeardPosition, AStalledOutputHoldsAndJitterNeverStepsBack) {
  const Step::What R = Step::Report;
  play("stall", 0.0,
       {{R, 10, 2.0, 2.0, true},
        {R, 20, 2.0, 2.0, false},
        {R, 900, 2.0, 2.0, false},
        {R, 910, 2.01, 2.01, true}});
  // A report a hair behind what was shown keeps the shown position until the output passes
  // it; an output that went back far (it was reset) is followed.
  play("jitter and reset", 0.0,
       {{R, 10, 3.0, 3.0, true},
        {R, 20, 2.9995, 3.0, false},
        {R, 30, 3.0102, 3.0102, true},
        {R, 40, 1.5, 1.5, true}});
}

TEST(HeardPosition, PauseHoldsWhereHeardAndResumeWaitsForTheOutput) {
  const Step::What R = Step::Report, P = Step::Pause, U = Step::Resume;
  play("pause and resume", 0.0,
       {{R, 10, 4.0, 4.0, true},
        // Paused 6 ms after the last report: held where the song was heard then.
        {P, 16, 0, 4.006, false},
        // The output still reports while paused, a little behind what was shown.
        {R, 100, 4.003, 4.006, false},
        {R, 500, 4.003, 4.006, false},
        {U, 700, 0, 4.006, false},
        // Resumed, but the output has not moved yet: nothing runs ahead.
        {R, 710, 4.003, 4.006, false},
        {R, 750, 4.003, 4.006, false},
        // It moves, still behind the shown time: the shown time waits for it.
        {R, 760, 4.005, 4.006, false},
        {R, 770, 4.015, 4.015, true}});
  play("paused before anything was heard", 0.0,
       {{P, 5, 0, 0.0, false},
        {R, 100, 0.0, 0.0, false},
        {U, 200, 0, 0.0, false},
        {R, 210, 0.0, 0.0, false},
        {R, 220, 0.01, 0.01, true}});
}

// At half speed a second heard is half a second of the song: a position carried forward past
// its reading, and one held at a pause, stay in song time.
TEST(HeardPosition, AtAnotherSpeedThePositionIsCarriedOnInSongTime) {
  HeardPosition heard;
  heard.setSpeed(0.5);
  heard.start(10.0, 0);
  heard.report(10.0, 1 * kMs);
  heard.report(10.01, 21 * kMs);
  ASSERT_TRUE(heard.sample());
  EXPECT_NEAR(heard.sample()->positionNsAt(121 * kMs) / 1e9, 10.06, 1e-9);
  heard.pause(121 * kMs);
  EXPECT_NEAR(heard.sample()->positionNsAt(900 * kMs) / 1e9, 10.06, 1e-9);
  heard.setSpeed(1.0);
  heard.resume();
  heard.report(10.07, 1000 * kMs);
  heard.report(10.08, 1010 * kMs);
  EXPECT_NEAR(heard.sample()->positionNsAt(1110 * kMs) / 1e9, 10.18, 1e-9);
}

TEST(HeardPosition, AJumpHoldsAtItsTargetUntilTheTargetIsHeard) {
  const Step::What R = Step::Report, J = Step::Jump, P = Step::Pause, U = Step::Resume;
  // Back from 10 s to 5 s: the old position is never shown again, the output's pre-roll short
  // of the target holds at the target, and the first move past it is followed.
  play("back while playing", 0.0,
       {{R, 10, 10.0, 10.0, true},
        {R, 20, 10.01, 10.01, true},
        {J, 25, 5.0, 5.0, false},
        {R, 30, 10.02, 5.0, false},
        {R, 40, 4.8, 5.0, false},
        {R, 300, 5.0, 5.0, false},
        {R, 310, 5.004, 5.004, true},
        {R, 320, 5.014, 5.014, true}});
  // On from 2 s to 5 s: neither the old position nor a stopped output runs ahead.
  play("on while playing", 0.0,
       {{R, 10, 2.0, 2.0, true},
        {R, 20, 2.01, 2.01, true},
        {J, 22, 5.0, 5.0, false},
        {R, 30, 2.02, 5.0, false},
        {Step::OutputStopped, 40, 0, 5.0, false},
        {R, 250, 5.0, 5.0, false},
        {R, 260, 5.012, 5.012, true}});
  // Moved while paused: it stays paused at the target and waits for the output after resume.
  play("while paused", 0.0,
       {{R, 10, 8.0, 8.0, true},
        {P, 10, 0, 8.0, false},
        {J, 100, 11.0, 11.0, false},
        {R, 110, 8.0, 11.0, false},
        {R, 120, 10.98, 11.0, false},
        {U, 200, 0, 11.0, false},
        {R, 210, 10.98, 11.0, false},
        {R, 400, 11.003, 11.003, true}});
}

TEST(HeardPosition, PositionsThatAreNoRealOnesAreIgnored) {
  const Step::What R = Step::Report;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  play("garbage while following", 0.0,
       {{R, 10, 5.0, 5.0, true},
        {R, 20, nan, 5.01, true},
        {R, 30, 1e12, 5.02, true},
        {R, 40, inf, 5.03, true},
        {R, 50, -inf, 5.04, true},
        {R, 60, -5.0, 5.05, true},
        {R, 70, 5.07, 5.07, true}});
  // Garbage never counts as moving away from the start; a hair below 0 is the start.
  play("garbage while held", 0.0,
       {{R, 10, nan, 0.0, false},
        {R, 20, 1e12, 0.0, false},
        {R, 30, -0.0001, 0.0, false},
        {R, 40, 0.002, 0.002, true}});
}

TEST(PlayerReports, ValidPositionsAndWholePercentages) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    double seconds;
    std::optional<double> expected;
  } positions[] = {{0.0, 0.0},           {-0.3, 0.0},
                   {-2.0, std::nullopt}, {61.25, 61.25},
                   {nan, std::nullopt},  {inf, std::nullopt},
                   {1e12, std::nullopt}, {kMaxPositionSeconds, kMaxPositionSeconds}};
  for (const auto& row : positions) {
    EXPECT_EQ(validPosition(row.seconds), row.expected) << row.seconds;
  }
  struct {
    double percent;
    std::optional<int> expected;
  } percents[] = {{0.0, 0},
                  {0.99, 0},
                  {45.7, 45},
                  {98.999, 98},
                  {99.0, 99},
                  {100.0, 99},
                  {-0.1, std::nullopt},
                  {100.5, std::nullopt},
                  {1e12, std::nullopt},
                  {-1e12, std::nullopt},
                  {nan, std::nullopt},
                  {inf, std::nullopt}};
  for (const auto& row : percents) {
    EXPECT_EQ(wholePercent(row.percent), row.expected) << row.percent;
  }
  // A sample holding garbage is carried without overflowing: it reads as a bounded position.
  const PositionSample huge{1e12, 0, true};
  EXPECT_EQ(huge.positionNsAt(500 * kMs),
            static_cast<std::int64_t>(kMaxPositionSeconds * 1e9) + 500 * kMs);
  const PositionSample notANumber{nan, 0, false};
  EXPECT_EQ(notANumber.positionNsAt(500 * kMs), 0);
}
