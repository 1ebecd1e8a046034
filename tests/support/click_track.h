#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A song of clicks for measuring what is heard: a 5 ms burst in every second over a quiet
// continuous tone, so that a recording tells which second is heard and whether anything plays.
class ClickTrack {
 public:
  // Peak levels, 0..1 of full scale, as written.
  static constexpr float kToneLevel = 0.1f;
  static constexpr float kClickLevel = 0.85f;

  // Writes an .mp3 of `seconds` seconds at `path` (ffmpeg); false when that failed. With
  // `shifted`, the click of each second comes up to 0.3 s after its start, by a different amount
  // in every second, so that the clicks fall at every phase of a time-stretcher's windows.
  static bool write(const std::string& path, int seconds, bool shifted = false);
  // The song positions, in seconds, of the click onsets as the decoder gives them, so that an
  // encoder's delay does not count as the player's.
  static std::vector<double> decodedOnsets(const std::string& path);

  // Frames where the level rises above `threshold` after at least `quietFrames` below it.
  static std::vector<std::int64_t> onsets(const std::vector<float>& level, float threshold,
                                          std::int64_t quietFrames);
};

}  // namespace testsupport
