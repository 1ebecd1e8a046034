#include "playback/volume_scale.h"

#include <algorithm>

namespace playback {

namespace {

constexpr int kTop = 100;

}  // namespace

int volumeSliderPosition(std::uint32_t left, std::uint32_t right, std::uint32_t maximum) {
  if (maximum == 0) return 0;
  const double mean = (static_cast<double>(left) + static_cast<double>(right)) / 2;
  const double position = mean * kTop / maximum + 1;
  // A channel above the maximum (an amplified output) would overflow the conversion; the
  // slider cannot show more than its top anyway.
  return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kTop)));
}

std::uint32_t volumeForPosition(std::uint32_t maximum, int position) {
  const int clamped = std::clamp(position, 0, kTop);
  return static_cast<std::uint32_t>(static_cast<double>(maximum) * clamped / kTop);
}

}  // namespace playback
