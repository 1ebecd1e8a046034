#pragma once

#include <cstdint>
#include <optional>

#include "playback/audio_player.h"

namespace playback {

// Decides from what a player says about its sound output whether the song is heard yet, and
// which position is heard. A player knows a position as soon as the file is loaded, before its
// output plays; a position counts as heard only once the output plays and the position has
// moved on from where it stood at the start or at a pause. Until then it holds.
//
// The output's timing jitters by fractions of a millisecond, and after a resume it may report
// a hair less than the time shown at the pause: the heard position never steps back by such
// small amounts. A large step back (the output was reset) is followed.
class HeardPosition {
 public:
  // How far back a report may lie behind the shown position and still count as jitter.
  static constexpr double kJitterSeconds = 0.25;
  // After a jump, a report farther than this from its target still tells of the position before.
  static constexpr double kJumpReachSeconds = 1.0;

  // A playback starts at `startSeconds`; it holds there until the output plays and moves.
  void start(double startSeconds, std::int64_t nowNs);
  // The output plays and is at `seconds` at `nowNs`. Positions that are no real ones (not
  // finite, huge) are ignored.
  void report(double seconds, std::int64_t nowNs);
  // The output does not play (not opened yet, restarting): the position holds where it is.
  void outputStopped(std::int64_t nowNs);
  // Paused: the position holds where it is heard at `nowNs`.
  void pause(std::int64_t nowNs);
  // Resumed: the position still holds until the output moves on.
  void resume();
  // The playback was moved to `seconds`: paused or not as before, the position holds there until
  // the output plays from there and moves, and never shows where it was before.
  void jump(double seconds, std::int64_t nowNs);
  // The playback has ended; there is no position any more.
  void clear();
  // The output plays `speed` seconds of the song per second from now on.
  void setSpeed(double speed) { m_speed = speed; }

  // The position for the clock; nothing without a playback.
  std::optional<PositionSample> sample() const;
  // True while the position follows a playing output.
  bool heard() const { return m_state == State::Following; }

 private:
  enum class State { None, Held, Following, Paused };

  void hold(std::int64_t nowNs);

  State m_state = State::None;
  PositionSample m_sample;
  // The output's own position while held: the position has to move away from it.
  std::optional<double> m_stillAt;
  // The output's last reported position while following.
  double m_lastReport = 0.0;
  double m_speed = 1.0;
  // Where the last jump went, until the position is heard from there.
  std::optional<double> m_jumpedTo;
};

}  // namespace playback
