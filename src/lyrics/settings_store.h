#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lyrics {

// One INI file of settings in the program's folder, read and written byte for byte: each
// write keeps every other section, key, comment and line break of the file as it was, and
// replaces the file atomically.
class SettingsStore {
 public:
  // Largest settings file read; real ones are a few hundred bytes.
  static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

  // The file `fileName` in `programDirectory` (GB18030 bytes; a trailing "/" is optional).
  SettingsStore(std::string programDirectory, std::string_view fileName);

  // Full path of the file.
  const std::string& filePath() const { return m_filePath; }
  // Whether the file exists.
  bool exists() const;
  // The value of `key` in `section` (text up to the file's first zero byte); nothing when the
  // file, the section or the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Sets one value; false when the file could not be read back or written, which leaves it
  // unchanged.
  bool setValue(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::string m_filePath;
};

}  // namespace lyrics
