#pragma once

#include <ctime>

namespace platform {

// A moment of the local calendar and wall clock.
struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;   // 0-23
  int minute = 0;
  int second = 0;
};

// The local date and time, replaceable in tests.
class LocalClock {
 public:
  virtual ~LocalClock() = default;
  // The current local date and time.
  virtual LocalDateTime now() const = 0;
};

// The system's wall clock in the local time zone.
class SystemLocalClock : public LocalClock {
 public:
  // localtime_r of the current time.
  LocalDateTime now() const override {
    const std::time_t seconds = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
  }
};

}  // namespace platform
