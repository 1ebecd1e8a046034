#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_io.h"

namespace playback {

// The user's key lag and whether the stamps allow for it, kept across runs in the per-user
// settings file (section [key-lag]: milliseconds=, enabled=1 or 0). Off until the user turns
// it on; a lag that is missing, unreadable or absurd leaves it off.
class KeyLagSetting {
 public:
  // The largest lag taken, in milliseconds; no reaction to a sound takes half a second.
  static constexpr int kMaxLagMs = 500;

  // What loading found wrong with the file.
  enum class Problem { None, Unreadable, BadLag };

  // The file settings.ini in `folder` (GB18030 bytes); with "" nothing outlasts the run.
  explicit KeyLagSetting(std::string folder = {});

  // Reads the lag and the on/off state from the file, replacing what was held.
  void load();
  // The stored lag in milliseconds, if there is one.
  std::optional<int> lagMs() const { return m_lagMs; }
  // True while the stamps take the lag off: turned on, with a lag stored.
  bool enabled() const { return m_enabled && m_lagMs.has_value(); }
  // The user's time a stamp takes off, in nanoseconds: the lag while enabled, otherwise 0.
  std::int64_t compensationNs() const;
  // What the last load refused, and the refused text of a bad lag.
  Problem problem() const { return m_problem; }
  const std::string& refusedText() const { return m_refused; }
  // The settings file's path; "" where nothing is kept.
  const std::string& filePath() const { return m_filePath; }

  // Holds `ms` (0..kMaxLagMs) as the lag and writes it; false when the file could not be
  // written (the reason in `why`), the lag being held for this run all the same.
  bool storeLag(int ms, platform::WriteStatus* why = nullptr);
  // Turns the compensation on or off and writes it, as storeLag does.
  bool storeEnabled(bool on, platform::WriteStatus* why = nullptr);
  // Runs after every change of the lag or the on/off state.
  void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

  // The lag of `text` when it is a whole number of milliseconds within 0..kMaxLagMs, blanks
  // around it allowed.
  static std::optional<int> parseLagMs(std::string_view text);

 private:
  bool write(std::string_view key, const std::string& value, platform::WriteStatus* why);
  void changed();

  std::string m_folder;
  std::string m_filePath;
  std::optional<int> m_lagMs;
  bool m_enabled = false;
  Problem m_problem = Problem::None;
  std::string m_refused;
  std::function<void()> m_listener;
};

}  // namespace playback
