#include "lyrics/settings_store.h"

#include "lyrics/ini_file.h"
#include "lyrics/text_rules.h"
#include "platform/file_io.h"

namespace lyrics {

SettingsStore::SettingsStore(std::string programDirectory, std::string_view fileName) {
  if (!programDirectory.empty() && programDirectory.back() != '/') programDirectory += '/';
  m_filePath = programDirectory + std::string(fileName);
}

bool SettingsStore::exists() const { return platform::fileExists(m_filePath); }

std::optional<std::string> SettingsStore::value(std::string_view section,
                                                std::string_view key) const {
  if (!exists()) return std::nullopt;
  const platform::FileBytes file = platform::readFileBytes(m_filePath, kMaxFileBytes);
  return IniFile(textUntilZero(file.bytes)).value(section, key);
}

bool SettingsStore::setValue(std::string_view section, std::string_view key,
                             std::string_view value) {
  const platform::FileBytes existing = platform::readFileBytes(m_filePath, kMaxFileBytes);
  // A file that is there but cannot be read is never replaced by one holding only this value.
  if (existing.status != platform::ReadStatus::Ok &&
      existing.status != platform::ReadStatus::Missing)
    return false;
  IniFile ini(existing.bytes);
  ini.setValue(section, key, value);
  return platform::writeFileReplacing(m_filePath, ini.bytes());
}

}  // namespace lyrics
