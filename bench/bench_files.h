#pragma once

// Pieces the benchmarks share: songs made with ffmpeg, the process's memory figures and the
// machine's load, which every figure taken on a shared machine is read with.

#include <cstdlib>
#include <fstream>
#include <string>

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

}  // namespace bench
