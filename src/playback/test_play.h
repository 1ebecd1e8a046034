#pragma once

#include <cstdint>
#include <functional>

#include "lyrics/current_time_tag.h"
#include "lyrics/lyrics_list.h"
#include "platform/interval_timer.h"
#include "platform/prompter.h"
#include "platform/random_source.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "playback/song_row.h"
#include "playback/test_play_view.h"

namespace playback {

// Test play: the song restarts, the curtain closes over the bottom of the window, and the
// display box shows (and the lyrics list selects) the line whose tag matches the running clock.
// A double-click on the close picture ends it. Runs on the GUI thread only.
class TestPlay {
 public:
  // Intervals of the line sync and of the display's colour change.
  static constexpr int kSyncIntervalMs = 100;
  static constexpr int kColourIntervalMs = 500;
  // Each of the three colour factors runs from 0 to this value.
  static constexpr int kColourFactorMax = 250;

  // Everything test play works on, owned by the caller and outliving it.
  struct Parts {
    TestPlayView& view;
    lyrics::LyricsList& list;
    const lyrics::CurrentTimeTag& currentTag;
    const SongRow& song;
    PlayClock& clock;
    // Plays the song, owns the playback state and the stop sequence.
    PlaybackController& controller;
    platform::Prompter& prompter;
    platform::RandomSource& random;
    // 时钟_测试播放 and 时钟_歌词预览文本颜色.
    platform::IntervalTimer& syncTimer;
    platform::IntervalTimer& colourTimer;
  };

  // `closeCurtain` and `openCurtain` start the curtain's slides.
  TestPlay(Parts parts, std::function<void()> closeCurtain, std::function<void()> openCurtain);

  // StartTestPlay: restarts the current song with the line sync and closes the curtain;
  // nothing while test play is on or without a song, a warning when the song file is gone.
  void startTestPlay();
  // SyncPreviewTick: shows and selects the last line of the clock's current second.
  void syncPreviewTick();
  // The colour tick: a random text colour for the display box.
  void colourTick();
  // EndTestPlay: stops the song, resets the displays, opens the curtain, selects line 0.
  void endTestPlay();

 private:
  Parts m;
  std::function<void()> m_closeCurtain;
  std::function<void()> m_openCurtain;
};

}  // namespace playback
