#include "playback/playback_jumps.h"

#include <gtest/gtest.h>

#include "playback/controller_rig.h"
#include "playback/playback_texts.h"

using namespace playback;
using namespace playbacktest;

namespace {

struct JumpRig : ControllerRig {
  JumpRig() { list.replaceAll({"[ti:歌]", "a", "[00:10.00]b", "c", "[00:01.50]d"}); }
  void loadSong() {
    dialogs.choice = "/m/a.mp3";
    controller.openAudioFile();
  }
  // The player is heard at `seconds` now, moving on from there or not.
  void heardAt(double seconds, bool advancing = true) {
    player.position = PositionSample{seconds, now.now, advancing};
  }
  std::string shown() const { return status.text(lyrics::StatusBar::PlayTime); }

  lyrics::LyricsList list;
  PlaybackJumps jumps{list, controller};
};

}  // namespace

TEST(PlaybackJumps, ALineStartsItsRunUpBeforeItsTagOrThatOfTheNearestTaggedLineAbove) {
  JumpRig rig;
  // Header lines carry no time; a run-up never starts before the song.
  const struct {
    int index;
    double start;
  } rows[] = {{-1, 0.0}, {0, 0.0}, {1, 0.0}, {2, 8.0}, {3, 8.0}, {4, 0.0}, {9, 0.0}};
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(PlaybackJumps::lineStartSeconds(rig.list, row.index), row.start)
        << "line " << row.index;
  }
  rig.list.replaceAll({"[01:02.34][00:01.00]x", "[00:03]y", "z"});
  EXPECT_DOUBLE_EQ(PlaybackJumps::lineStartSeconds(rig.list, 0), 60.34);
  EXPECT_DOUBLE_EQ(PlaybackJumps::lineStartSeconds(rig.list, 2), 1.0);
}

// F6 from every state ends playing from line 3's start (its tag above, 10 s, less the run-up)
// with the button offering to pause and the time at the target at once; a playback there is
// moved, none is started there, and without a song it does what 播放 does.
TEST(PlaybackJumps, PlayFromTheSelectedLineEndsPlayingAtItsStartFromEveryState) {
  enum Before { NoSong, Idle, Playing, Paused, RestartedWhilePaused, ContinuedAfterStop };
  const struct {
    Before before;
    std::vector<std::string> calls;
  } rows[] = {
      {NoSong, {}},
      {Idle, {"play:/m/a.mp3@8"}},
      {Playing, {"seek:8.00", "resume"}},
      {Paused, {"seek:8.00", "resume"}},
      {RestartedWhilePaused, {"seek:8.00", "resume"}},
      {ContinuedAfterStop, {"seek:8.00", "play:/m/a.mp3@8"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.before);
    JumpRig rig;
    if (row.before != NoSong) rig.loadSong();
    if (row.before >= Playing) rig.controller.playSong();
    if (row.before == Paused || row.before == RestartedWhilePaused) rig.controller.togglePause();
    if (row.before == RestartedWhilePaused) rig.controller.playSong();
    if (row.before == ContinuedAfterStop) {
      rig.controller.stopPlayback();
      rig.controller.togglePause();
    }
    rig.now.advanceMs(12'000);
    rig.heardAt(12.0);
    rig.list.setSelection(3);
    rig.player.calls.clear();
    rig.jumps.playFromSelectedLine();
    EXPECT_EQ(rig.player.calls, row.calls);
    if (row.before == NoSong) {
      EXPECT_EQ(rig.dialogs.opened.size(), 1u);
      EXPECT_EQ(rig.controller.state(), PlaybackState::Idle);
      continue;
    }
    EXPECT_EQ(rig.controller.state(), PlaybackState::Playing);
    EXPECT_EQ(rig.display.pauseCaption(), texts::pauseButtonCaption(PlaybackState::Playing));
    EXPECT_TRUE(rig.clock.running());
    EXPECT_EQ(rig.shown(), "播放时间:[00:08.00]");
    EXPECT_TRUE(rig.prompter.shown.empty());
  }
}

// Through a jump the time neither shows the old position nor runs ahead: a position the
// player gave before the jump no longer counts, the time holds at the target while the player
// holds there, and follows it once it moves.
TEST(PlaybackJumps, TheTimeHoldsAtTheTargetUntilItIsHeardThenFollowsIt) {
  JumpRig rig;
  rig.loadSong();
  rig.controller.playSong();
  rig.now.advanceMs(20'000);
  rig.heardAt(20.0, false);
  rig.clock.tick();
  EXPECT_EQ(rig.shown(), "播放时间:[00:20.00]");
  rig.now.advanceMs(5);
  rig.jumps.seekBackward();
  EXPECT_EQ(rig.player.calls.back(), "seek:17.00");
  EXPECT_EQ(rig.shown(), "播放时间:[00:17.00]");
  rig.clock.tick();  // the player's reading from before the jump no longer counts
  EXPECT_EQ(rig.shown(), "播放时间:[00:17.00]");
  // The player holds at the target until it is heard there.
  rig.heardAt(17.0, false);
  rig.now.advanceMs(200);
  EXPECT_EQ(rig.clock.currentTag(), "[00:17.00]");
  rig.heardAt(17.0);
  rig.now.advanceMs(123);
  EXPECT_EQ(rig.clock.currentTag(), "[00:17.12]");
  // On by 3 s, then back by 3 s near the start: never before 0.
  rig.jumps.seekForward();
  EXPECT_EQ(rig.player.calls.back(), "seek:20.12");
  rig.heardAt(1.5);
  rig.jumps.seekBackward();
  EXPECT_EQ(rig.player.calls.back(), "seek:0.00");
  EXPECT_EQ(rig.shown(), "播放时间:[00:00.00]");
}

// Back and on move a paused song within the song and leave it paused at the new time; idle,
// they do nothing.
TEST(PlaybackJumps, SeekingMovesAPausedSongAndLeavesAnIdleOneAlone) {
  JumpRig rig;
  rig.loadSong();
  const std::string idle = rig.shown();
  rig.jumps.seekForward();
  rig.jumps.seekBackward();
  EXPECT_TRUE(rig.player.calls.empty());
  EXPECT_EQ(rig.shown(), idle);
  rig.controller.playSong();
  rig.now.advanceMs(4'000);
  rig.heardAt(4.0);
  rig.controller.togglePause();
  rig.jumps.seekForward();
  EXPECT_EQ(rig.player.calls.back(), "seek:7.00");
  EXPECT_EQ(rig.controller.state(), PlaybackState::Paused);
  EXPECT_FALSE(rig.clock.running());
  EXPECT_EQ(rig.tag.value(), "[00:07.00]");
  EXPECT_EQ(rig.shown(), "播放时间:[00:07.00]");
  rig.now.advanceMs(5'000);
  EXPECT_EQ(rig.clock.currentTag(), "[00:07.00]");
  // Never past the song's end: the time shows where the player went.
  rig.player.songSeconds = 8.5;
  rig.jumps.seekForward();
  EXPECT_EQ(rig.player.calls.back(), "seek:10.00");
  EXPECT_EQ(rig.shown(), "播放时间:[00:08.50]");
}
