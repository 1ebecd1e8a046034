#include "platform/input_moments.h"

namespace platform {

std::optional<std::int64_t> inputEventSteadyNs(std::uint64_t stampMs, std::int64_t nowNs) {
  if (stampMs == 0 || nowNs <= 0) return std::nullopt;
  constexpr std::int64_t kMs = 1'000'000;
  const std::int64_t nowMs = nowNs / kMs;
  // The age in whole milliseconds, across the wrap of the 32-bit count.
  const auto ageMs = static_cast<std::int32_t>(static_cast<std::uint32_t>(nowMs) -
                                               static_cast<std::uint32_t>(stampMs));
  // The stamp and our clock may be read in different milliseconds, so a stamp one ahead is
  // still on our clock.
  if (ageMs < -1 || ageMs > kLongestInputWaitNs / kMs) return std::nullopt;
  // The event happened somewhere in its stamped millisecond: take the middle of it.
  const std::int64_t eventNs = (nowMs - ageMs) * kMs + kMs / 2;
  return eventNs < nowNs ? eventNs : nowNs;
}

}  // namespace platform
