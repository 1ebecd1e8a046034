#include "playback/player_reports.h"

#include <cmath>

namespace playback {

namespace {
// How far below 0 a position may be reported and still count as the start.
constexpr double kStartSlackSeconds = 1.0;
}  // namespace

std::optional<double> validPosition(double seconds) {
  if (!std::isfinite(seconds) || seconds < -kStartSlackSeconds || seconds > kMaxPositionSeconds) {
    return std::nullopt;
  }
  return seconds < 0.0 ? 0.0 : seconds;
}

std::optional<int> wholePercent(double percent) {
  // Compared as a double first: converting a huge value to int is undefined.
  if (!std::isfinite(percent) || percent < 0.0 || percent > 100.0) return std::nullopt;
  return percent >= 99.0 ? 99 : static_cast<int>(percent);
}

}  // namespace playback
