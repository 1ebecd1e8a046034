#pragma once

#include <cstdint>

namespace playback {

// The slider position, 0..100, that shows a master volume of `left` and `right` out of
// `maximum`: the channels' mean in per cent plus one, truncated (both at half show 51, both
// at 0 show 1); 0 when `maximum` is 0, as there is then no usable mixer.
int volumeSliderPosition(std::uint32_t left, std::uint32_t right, std::uint32_t maximum);

// The channel value for slider `position` (clamped to 0..100): maximum × position / 100,
// truncated.
std::uint32_t volumeForPosition(std::uint32_t maximum, int position);

}  // namespace playback
