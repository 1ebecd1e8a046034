#include "playback/mpv/time_stretch.h"

#include <algorithm>

namespace playback {

namespace {

// 15 ms windows searched over 10 ms. Played from many places of a click track, a click then
// comes within about 1.5 ms (one standard deviation) of one place per speed; with mpv's own
// 20 and 30 ms it wandered over 4 to 5 ms, and its mean moved with where the song started.
constexpr const char* kFilter = "scaletempo2=window-size=15:search-interval=10";

// The lag measured with that filter at the editor's two slow speeds, mpv's position against
// where each click lands in mpv's output; between them it is taken as a line, and beyond them
// as the nearer one.
constexpr double kHalfSpeedLagSeconds = 0.0003;
constexpr double kThreeQuarterSpeedLagSeconds = 0.0062;

}  // namespace

TimeStretch timeStretchFor(double speed) {
  if (speed == 1.0) return {};
  const double along = (std::clamp(speed, 0.5, 0.75) - 0.5) / 0.25;
  const double lag =
      kHalfSpeedLagSeconds + along * (kThreeQuarterSpeedLagSeconds - kHalfSpeedLagSeconds);
  return {kFilter, lag};
}

}  // namespace playback
