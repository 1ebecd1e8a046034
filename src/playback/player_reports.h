#pragma once

#include <optional>

namespace playback {

// The longest song position taken as real, in seconds (100 hours); anything beyond is garbage.
inline constexpr double kMaxPositionSeconds = 360'000.0;

// The playback position a player reported, in seconds, when it is a real one: finite and
// within 0..kMaxPositionSeconds. A hair below 0 (a decoder's start padding) counts as 0.
std::optional<double> validPosition(double seconds);

// The whole percentage 0..99 that a reported fraction played stands for, or nothing when the
// report is no percentage at all (not finite, below 0 or above 100). 100 itself is kept for the
// end of the song, so it gives 99.
std::optional<int> wholePercent(double percent);

}  // namespace playback
