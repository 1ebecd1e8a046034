#pragma once

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace platform {

// Milliseconds since the kernel started this process (10 ms resolution); -1 when unknown.
// Header-only, so that a bare window measured beside the editor counts the same way.
inline long long msSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The fields after the command name, which is in parentheses and may hold spaces.
  const auto close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  // Field 22 of the line (the 20th after the name) is the start time in clock ticks.
  for (int index = 0; index < 20 && fields >> field; ++index) {
  }
  if (!fields) return -1;
  const double startSeconds = std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowSeconds =
      static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
  return static_cast<long long>((nowSeconds - startSeconds) * 1000.0);
}

}  // namespace platform
