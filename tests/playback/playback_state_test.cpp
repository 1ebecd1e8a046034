#include "playback/playback_state.h"

#include <gtest/gtest.h>

#include "playback/playback_texts.h"

using playback::PlaybackState;

TEST(PlaybackState, EveryStateHasItsTransitionsItsCaptionAndItsClock) {
  using S = PlaybackState;
  const struct {
    S state;
    S afterPlay;
    S afterToggle;
    const char* caption;
    bool clockRuns;
  } table[] = {
      {S::Idle, S::Playing, S::Paused, "暂停", false},
      {S::Playing, S::Playing, S::Paused, "暂停", true},
      {S::Paused, S::RestartedWhilePaused, S::Playing, "继续", false},
      {S::RestartedWhilePaused, S::RestartedWhilePaused, S::Playing, "继续", true},
  };
  for (const auto& row : table) {
    const int state = static_cast<int>(row.state);
    EXPECT_EQ(playback::afterPlay(row.state), row.afterPlay) << state;
    EXPECT_EQ(playback::afterTogglePause(row.state), row.afterToggle) << state;
    EXPECT_EQ(playback::texts::pauseButtonCaption(row.state), row.caption) << state;
    EXPECT_EQ(playback::clockRuns(row.state), row.clockRuns) << state;
  }
}
