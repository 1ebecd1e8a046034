#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/monotonic_clock.h"
#include "support/fake_audio_player.h"
#include "support/recording_clipboard.h"

// Controllable stand-ins for the playback collaborators. Each may write what happens to it
// into a shared log, so tests can check the order of effects (the timer, the player and the
// clipboard are the shared ones of support/).
namespace playbacktest {

using Log = std::vector<std::string>;

// A monotonic clock moved by hand.
class FakeClock : public platform::MonotonicClock {
 public:
  std::int64_t nowNs() const override { return now; }
  void advanceMs(double ms) { now += static_cast<std::int64_t>(ms * 1e6); }
  std::int64_t now = 1'000'000'000;
};

}  // namespace playbacktest
