#include "playback/key_lag_setting.h"

#include <filesystem>
#include <system_error>

#include "lyrics/ini_file.h"
#include "lyrics/settings_store.h"
#include "lyrics/text_rules.h"

namespace playback {

namespace {

constexpr std::string_view kFileName = "settings.ini";
constexpr std::string_view kSection = "key-lag";
constexpr std::string_view kLagKey = "milliseconds";
constexpr std::string_view kEnabledKey = "enabled";

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

KeyLagSetting::KeyLagSetting(std::string folder) : m_folder(std::move(folder)) {
  if (m_folder.empty()) return;
  if (m_folder.back() != '/') m_folder += '/';
  m_filePath = m_folder + std::string(kFileName);
}

std::optional<int> KeyLagSetting::parseLagMs(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int ms = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    ms = ms * 10 + (c - '0');
  }
  if (ms > kMaxLagMs) return std::nullopt;
  return ms;
}

void KeyLagSetting::load() {
  m_lagMs.reset();
  m_enabled = false;
  m_problem = Problem::None;
  m_refused.clear();
  if (!m_filePath.empty()) {
    const platform::FileBytes file =
        platform::readFileBytes(m_filePath, lyrics::SettingsStore::kMaxFileBytes);
    if (file.status == platform::ReadStatus::Unreadable ||
        file.status == platform::ReadStatus::TooLarge) {
      m_problem = Problem::Unreadable;
    } else if (file.status == platform::ReadStatus::Ok) {
      const lyrics::IniFile ini(lyrics::textUntilZero(file.bytes));
      if (const auto lag = ini.value(kSection, kLagKey)) {
        m_lagMs = parseLagMs(*lag);
        if (!m_lagMs) {
          m_problem = Problem::BadLag;
          m_refused = *lag;
        }
      }
      // Without a lag it stays off, whatever the file says.
      const auto enabled = ini.value(kSection, kEnabledKey);
      m_enabled = m_lagMs && enabled && trimmed(*enabled) == "1";
    }
  }
  changed();
}

std::int64_t KeyLagSetting::compensationNs() const {
  return enabled() ? static_cast<std::int64_t>(*m_lagMs) * 1'000'000 : 0;
}

bool KeyLagSetting::storeLag(int ms, platform::WriteStatus* why) {
  if (ms < 0 || ms > kMaxLagMs) {
    if (why) *why = platform::WriteStatus::Failed;
    return false;
  }
  m_lagMs = ms;
  m_problem = Problem::None;
  m_refused.clear();
  changed();
  return write(kLagKey, std::to_string(ms), why);
}

bool KeyLagSetting::storeEnabled(bool on, platform::WriteStatus* why) {
  m_enabled = on;
  changed();
  return write(kEnabledKey, on ? "1" : "0", why);
}

bool KeyLagSetting::write(std::string_view key, const std::string& value,
                          platform::WriteStatus* why) {
  if (why) *why = platform::WriteStatus::Ok;
  if (m_filePath.empty()) return true;
  // The folder is made on the first write; a failure shows when the file is written.
  std::error_code ignored;
  std::filesystem::create_directories(platform::nativePath(m_folder), ignored);
  lyrics::SettingsStore store(m_folder, kFileName);
  return store.setValue(kSection, key, value, why);
}

void KeyLagSetting::changed() {
  if (m_listener) m_listener();
}

}  // namespace playback
