#pragma once

// Pieces the benchmarks share: songs made with ffmpeg, the process's memory figures, the
// machine's load, which every figure taken on a shared machine is read with, and percentiles.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

// Writes a song of `seconds` seconds of noise over a 440 Hz tone at `path`, encoded with ffmpeg's
// `codec` at 192 kbps; false when ffmpeg failed.
inline bool makeNoiseSong(const std::string& path, int seconds, const char* codec) {
  const std::string length = std::to_string(seconds);
  const std::string command = "ffmpeg -loglevel error -y -f lavfi -i 'anoisesrc=a=0.3:d=" + length +
                              "' -f lavfi -i 'sine=f=440:d=" + length +
                              "' -filter_complex amerge=inputs=2 -c:a " + codec + " -b:a 192k '" +
                              path + "'";
  return std::system(command.c_str()) == 0;
}

// A field of /proc/self/status in MB ("VmRSS" now, "VmHWM" the peak); -1 when it is missing.
inline double statusMb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) return std::stod(line.substr(prefix.size())) / 1024.0;
  }
  return -1;
}

// The machine's load averages over 1, 5 and 15 minutes, as /proc/loadavg gives them.
inline std::string loadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one.empty() ? "?" : one + " " + five + " " + fifteen;
}

// The `q` quantile (0..1) of `values` by the nearest rank; NaN when there are none.
inline double percentile(std::vector<double> values, double q) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
  return values[std::min(values.size() - 1, index > 0 ? index - 1 : 0)];
}

}  // namespace bench
