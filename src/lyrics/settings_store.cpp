#include "lyrics/settings_store.h"

#include "lyrics/text_rules.h"
#include "platform/file_io.h"

namespace lyrics {

SettingsStore::SettingsStore(std::string directory) : m_directory(std::move(directory)) {
  if (!m_directory.empty() && m_directory.back() != '/') m_directory += '/';
}

std::string SettingsStore::pathOf(std::string_view fileName) const {
  return m_directory + std::string(fileName);
}

std::optional<IniFile> SettingsStore::read(std::string_view fileName) const {
  const std::string path = pathOf(fileName);
  if (!platform::fileExists(path)) return std::nullopt;
  const platform::FileBytes file = platform::readFileBytes(path, kMaxProfileBytes);
  return IniFile(textUntilZero(file.bytes));
}

bool SettingsStore::write(std::string_view fileName, std::string_view section, std::string_view key,
                          std::string_view value) const {
  const std::string path = pathOf(fileName);
  // The whole file, bytes after a zero included: only the one entry changes.
  const platform::FileBytes existing = platform::readFileBytes(path, kMaxProfileBytes);
  if (existing.status != platform::ReadStatus::Ok &&
      existing.status != platform::ReadStatus::Missing) {
    return false;
  }
  IniFile ini(existing.bytes);
  ini.setValue(section, key, value);
  return platform::writeFileReplacing(path, ini.bytes());
}

}  // namespace lyrics
