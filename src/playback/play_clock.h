#pragma once

#include <cstdint>
#include <string>

#include "lyrics/current_time_tag.h"
#include "lyrics/status_bar.h"
#include "lyrics/time_tag_source.h"
#include "platform/interval_timer.h"
#include "platform/monotonic_clock.h"
#include "playback/audio_player.h"
#include "playback/playback_display.h"

namespace playback {

// The play time that the tag commands stamp. Minutes, seconds and hundredths all come from one
// elapsed time: the position of the song being heard while a song plays (read from the player
// at every tick and stamp; it holds until the song is heard), or a stopwatch that halts with
// the clock where no position is known. The 10 ms tick only rebuilds CurrentTimeTag and the two
// displays from that time.
class PlayClock : public lyrics::TimeTagSource {
 public:
  // Interval of the running tick, in milliseconds.
  static constexpr int kTickMs = 10;

  PlayClock(platform::IntervalTimer& tickTimer, lyrics::CurrentTimeTag& currentTag,
            PlaybackDisplay& display, lyrics::StatusBar& status, PositionSource& positions,
            const platform::MonotonicClock& clock);

  // ResetPlayClock: the time goes back to zero; the tick, CurrentTimeTag and displays stay.
  void reset();
  // Starts the tick; the time goes on from where it halted.
  void start();
  // Halts the tick and freezes the time.
  void halt();
  // The playback jumped to `seconds`: the time, CurrentTimeTag and the displays show it at once,
  // running or halted, and positions the player gave before the jump no longer count.
  void jumpTo(double seconds);
  // The jump went to `seconds` after all (the player kept it within the song): the time and the
  // displays show it, and what the player said since the jump still counts.
  void retarget(double seconds);
  // True while the tick runs.
  bool running() const { return m_running; }
  // The tick handler: rebuilds CurrentTimeTag, the tag caption and status part 0.
  void tick();
  // The tag of this very moment for a stamp: while the clock runs an extra tick brings
  // CurrentTimeTag and the displays up to now; a halted clock keeps the tag it halted with.
  std::string currentTag() override;
  // The tag of this very moment less `lagNs` of the listener's own time, which is lagNs times
  // the playback speed of the song (lessLag): the stamp of a key pressed that long after the
  // sound it answers. The displays still show the moment itself. A halted clock keeps the tag
  // it halted with: nothing is being heard that a press could answer late.
  std::string tagLessLag(std::int64_t lagNs);

  // Elapsed play time in hundredths of a second, rounded to the nearest one.
  std::int64_t elapsedHundredths();
  // Elapsed play time in nanoseconds, as a stamp would read it now.
  std::int64_t elapsedNs();
  // The full time tag "[mm:ss.xx]" of `hundredths` (minutes modulo 100).
  static std::string timeTag(std::int64_t hundredths);
  // `positionNs` of the song less `lagNs` of the listener's time heard at `speed` times the
  // song's pace, never below zero.
  static std::int64_t lessLag(std::int64_t positionNs, std::int64_t lagNs, double speed);

 private:
  void show();

  platform::IntervalTimer& m_tickTimer;
  lyrics::CurrentTimeTag& m_currentTag;
  PlaybackDisplay& m_display;
  lyrics::StatusBar& m_status;
  PositionSource& m_positions;
  const platform::MonotonicClock& m_clock;

  bool m_running = false;
  // Stopwatch: time gathered up to m_sinceNs, plus the run since then while running.
  std::int64_t m_baseNs = 0;
  std::int64_t m_sinceNs = 0;
  // Player reports taken before the last reset belong to an earlier playback.
  std::int64_t m_resetAtNs = 0;
  // Seconds of the song per second at the last position read (the playback speed).
  double m_rate = 1.0;
};

}  // namespace playback
