#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// The desktop's master output volume: the two channels of its default audio output.
class MasterVolume {
 public:
  // One value per channel, 0..maximum().
  struct Channels {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    bool operator==(const Channels&) const = default;
  };

  virtual ~MasterVolume() = default;
  // Binds to the master output; false when there is none, and then the calls below do nothing.
  virtual bool bindMaster() = 0;
  // The largest value a channel takes; 0 while unbound.
  virtual std::uint32_t maximum() const = 0;
  // The current value of each channel; nothing when it cannot be read.
  virtual std::optional<Channels> volume() = 0;
  // Sets each channel; false when the request could not be made.
  virtual bool setVolume(Channels channels) = 0;
};

}  // namespace platform
