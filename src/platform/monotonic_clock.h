#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// A monotonic time source, replaceable in tests.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  // Nanoseconds on a clock that never goes back (steady_clock's epoch).
  virtual std::int64_t nowNs() const = 0;
};

// The system's steady clock.
class SteadyClock : public MonotonicClock {
 public:
  // steady_clock::now() in nanoseconds.
  std::int64_t nowNs() const override { return now(); }
  // The same as a free function, for code without a clock object.
  static std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace platform
