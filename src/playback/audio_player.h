#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "playback/player_reports.h"

namespace playback {

// The song position being heard, with the monotonic time it was taken.
struct PositionSample {
  // Seconds from the start of the song.
  double seconds = 0.0;
  // steady_clock time of the reading, in nanoseconds.
  std::int64_t takenAtNs = 0;
  // True while the song is heard playing on from there; false while it holds (not heard yet,
  // paused, stalled).
  bool advancing = false;
  // Seconds of the song heard per second while advancing: the playback speed.
  double rate = 1.0;

  // How far a position is carried forward past its reading. A playing song is read many
  // times a second; a longer silence means the sound is stuck, and so is the song.
  static constexpr std::int64_t kMaxCarryNs = 1'000'000'000;

  // The position at steady_clock time `nowNs`, in nanoseconds from the start of the song.
  std::int64_t positionNsAt(std::int64_t nowNs) const {
    // Clamped before the conversion, which would overflow for a garbage value.
    const double bounded =
        std::isfinite(seconds) ? std::clamp(seconds, 0.0, kMaxPositionSeconds) : 0.0;
    auto position = static_cast<std::int64_t>(std::llround(bounded * 1e9));
    if (advancing) {
      const std::int64_t carried = std::clamp<std::int64_t>(nowNs - takenAtNs, 0, kMaxCarryNs);
      position += rate == 1.0 ? carried : std::llround(static_cast<double>(carried) * rate);
    }
    return std::max<std::int64_t>(0, position);
  }
};

// Why a song could not be played.
enum class PlayError {
  // The file is missing or holds no playable audio.
  BadFile,
  // The system has no usable sound output.
  NoAudioOutput,
};

// Where the player's reports go; the controller implements it.
class PlaybackListener {
 public:
  virtual ~PlaybackListener() = default;
  // Whole percentage played: 0..99 in order while playing (after a jump, on from where it
  // went), then exactly one 100 at the end.
  virtual void onPlayProgress(int percent) = 0;
  // The song could not be played; playback has ended.
  virtual void onPlayError(PlayError error) = 0;
};

// The position of the song being heard, for the play clock.
class PositionSource {
 public:
  virtual ~PositionSource() = default;
  // The current playback's heard position, read now; it holds while nothing is heard yet.
  // Nothing when nothing plays or positions are unknown.
  virtual std::optional<PositionSample> heardPosition() = 0;
};

// Plays one song at a time. Paths are GBK/GB18030 bytes.
class AudioPlayer : public PositionSource {
 public:
  // Stops and discards any current playback, then plays `gbkPath` once from `startSeconds`,
  // reporting to `listener` until it ends or is stopped.
  virtual void play(const std::string& gbkPath, double startSeconds,
                    PlaybackListener& listener) = 0;
  // Halts a playing song where it is; otherwise nothing.
  virtual void pause() = 0;
  // Continues a paused song; otherwise nothing.
  virtual void resume() = 0;
  // Moves the current playback to `seconds` from the song's start, playing or paused as it was,
  // and gives where it went: never past the song's end, where a playing song ends as at its end.
  // Nothing when nothing plays.
  virtual std::optional<double> seek(double seconds) = 0;
  // Ends the current playback; no more reports arrive.
  virtual void stop() = 0;
  // Plays the current playback and every later one at `speed` times the song's own pace, its
  // pitch kept; positions stay in song time.
  virtual void setSpeed(double speed) = 0;
};

}  // namespace playback
