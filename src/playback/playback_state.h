#pragma once

namespace playback {

// Where playback stands. The playback controller owns it and alone changes it; the pause
// button's caption is derived from it, and the play clock runs exactly in the two playing
// states. The player keeps only what it needs to talk to its library.
enum class PlaybackState {
  // Nothing plays and the clock is halted: at start-up, after a stop, at the end of a song.
  Idle,
  // The clock runs, and the song plays when there is one (TogglePause from Paused after a
  // stop runs the clock over silence, as the pause button has always done).
  Playing,
  // The clock and the song are halted where they were; the button offers to continue.
  Paused,
  // Played again from the start while paused (PlaySong, test play): the clock runs and the
  // song plays, but the button still offers to continue, and pressing it only confirms the
  // playing.
  RestartedWhilePaused,
};

// The state after playing from the start: PlaySong with a song, or test play.
PlaybackState afterPlay(PlaybackState state);
// The state after TogglePause with a song file.
PlaybackState afterTogglePause(PlaybackState state);
// True when the pause button offers to continue ("继续") rather than to pause ("暂停").
bool offersResume(PlaybackState state);
// True when the play clock runs in `state`.
bool clockRuns(PlaybackState state);

}  // namespace playback
