#include "playback/playback_state.h"

namespace playback {

PlaybackState afterPlay(PlaybackState state) {
  // A restart never touches the pause button, so a paused editor keeps offering to continue.
  return offersResume(state) ? PlaybackState::RestartedWhilePaused : PlaybackState::Playing;
}

PlaybackState afterTogglePause(PlaybackState state) {
  // The button does what it offers, whatever plays: continuing after a stop starts the clock.
  return offersResume(state) ? PlaybackState::Playing : PlaybackState::Paused;
}

bool offersResume(PlaybackState state) {
  return state == PlaybackState::Paused || state == PlaybackState::RestartedWhilePaused;
}

bool clockRuns(PlaybackState state) {
  return state == PlaybackState::Playing || state == PlaybackState::RestartedWhilePaused;
}

}  // namespace playback
