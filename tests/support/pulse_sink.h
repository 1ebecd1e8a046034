#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The shared sound server's default sink, read and set with pactl, for tests that check what
// the editor did to the real master volume.
namespace testsupport {

inline std::string runCommand(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ::pclose(pipe);
  }
  return output;
}

// The raw volume of each channel of the default sink, or nothing without a server.
inline std::optional<std::vector<std::uint32_t>> defaultSinkVolume() {
  const std::string text = runCommand("LC_ALL=C pactl get-sink-volume @DEFAULT_SINK@ 2>/dev/null");
  // pactl prints each channel as "front-left: 65536 / 100% / 0.00 dB".
  std::vector<std::uint32_t> values;
  for (std::size_t at = text.find(": "); at != std::string::npos; at = text.find(": ", at + 1)) {
    std::size_t digits = at + 2;
    std::size_t end = digits;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == digits || text.compare(end, 2, " /") != 0) continue;
    values.push_back(static_cast<std::uint32_t>(std::stoul(text.substr(digits, end - digits))));
  }
  if (values.empty()) return std::nullopt;
  return values;
}

inline bool setDefaultSinkVolume(const std::vector<std::uint32_t>& values) {
  std::string command = "pactl set-sink-volume @DEFAULT_SINK@";
  for (std::uint32_t v : values) command += " " + std::to_string(v);
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Polls the sink until it holds `expected` or `timeout` passed; returns what it read last.
inline std::optional<std::vector<std::uint32_t>> awaitDefaultSinkVolume(
    const std::vector<std::uint32_t>& expected,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::optional<std::vector<std::uint32_t>> last = defaultSinkVolume();
  while (last != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    last = defaultSinkVolume();
  }
  return last;
}

// Keeps the default sink's volume as it was found and puts it back at the end, because other
// programs share the server.
class SinkVolumeGuard {
 public:
  SinkVolumeGuard() : m_saved(defaultSinkVolume()) {}
  ~SinkVolumeGuard() {
    if (m_saved) setDefaultSinkVolume(*m_saved);
  }
  SinkVolumeGuard(const SinkVolumeGuard&) = delete;
  SinkVolumeGuard& operator=(const SinkVolumeGuard&) = delete;
  // False when no server answered.
  bool serverReachable() const { return m_saved.has_value(); }
  // The number of channels of the default sink.
  std::size_t channels() const { return m_saved ? m_saved->size() : 0; }

 private:
  std::optional<std::vector<std::uint32_t>> m_saved;
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_old)
      ::setenv(m_name, m_old->c_str(), 1);
    else
      ::unsetenv(m_name);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace testsupport
