#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// When the key press or click that the editor is handling now happened, as opposed to when the
// editor came to handle it: under load a key waits in the queue before its stamp is read.
class InputMoments {
 public:
  virtual ~InputMoments() = default;
  // The steady-clock moment (SteadyClock::now's scale) of the press being handled; empty when
  // no press is being handled or its moment is not known.
  virtual std::optional<std::int64_t> handledInputNs() const = 0;
};

// Events older than this when handled are taken for events whose time is on another clock.
inline constexpr std::int64_t kLongestInputWaitNs = 250'000'000;

// The steady-clock moment of an input event from the time the window system stamped it with:
// X servers and Wayland compositors stamp input in whole milliseconds of the monotonic clock,
// cut to 32 bits. Empty for a time on another clock (a synthetic event, a remote display) and
// for an event stamped more than kLongestInputWaitNs before `nowNs` or after it.
std::optional<std::int64_t> inputEventSteadyNs(std::uint64_t stampMs, std::int64_t nowNs);

}  // namespace platform
