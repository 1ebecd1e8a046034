#pragma once

#include "lyrics/lyrics_list.h"
#include "playback/playback_controller.h"

namespace playback {

// The jumps of the correction menu: playing from the selected line with a run-up, and moving
// the song a few seconds back or on. Runs on the GUI thread only.
class PlaybackJumps {
 public:
  // How long before a line's tag playing from it starts.
  static constexpr double kRunUpSeconds = 2.0;
  // How far the song moves back or on.
  static constexpr double kStepSeconds = 3.0;

  // Both must outlive the jumps.
  PlaybackJumps(const lyrics::LyricsList& list, PlaybackController& controller);

  // Plays the song from the selected line (lineStartSeconds), playing, paused or idle alike.
  void playFromSelectedLine();
  // Moves the playing or paused song kStepSeconds back; idle: nothing.
  void seekBackward();
  // Moves the playing or paused song kStepSeconds on; idle: nothing.
  void seekForward();

  // Where playing from line `index` starts: its leading time tag less the run-up, never before
  // 0; a line without one takes the nearest tagged line above it; 0 when none above has one.
  static double lineStartSeconds(const lyrics::LyricsList& list, int index);

 private:
  const lyrics::LyricsList& m_list;
  PlaybackController& m_controller;
};

}  // namespace playback
