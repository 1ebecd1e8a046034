#pragma once

#include <cstdint>

namespace platform {

// A text colour as its red, green and blue parts, 0..255 each.
struct RgbColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const RgbColour&) const = default;
};

}  // namespace platform
