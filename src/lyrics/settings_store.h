#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lyrics/ini_file.h"

namespace lyrics {

// The small INI profiles the editor keeps in one folder, the program directory (the
// signature's "GEXINGQIANMING.ini" today). Nothing is cached: every read takes the file as it
// is now, and every write rewrites it whole, keeping each byte it does not change.
class SettingsStore {
 public:
  // Largest profile read; a real one is a few hundred bytes.
  static constexpr std::uintmax_t kMaxProfileBytes = 16u * 1024u * 1024u;

  // The profiles in `directory` (GBK bytes; "" is the current folder).
  explicit SettingsStore(std::string directory);

  // Full path of the profile `fileName`.
  std::string pathOf(std::string_view fileName) const;
  // The profile as the classic profile functions read it, up to its first zero byte; nothing
  // when it does not exist. One that exists but cannot be read reads as empty.
  std::optional<IniFile> read(std::string_view fileName) const;
  // Sets `key`=`value` in `section` of the profile, which is created when missing. Nothing is
  // written when an existing profile cannot be read (it would be lost) or the write fails;
  // false then.
  bool write(std::string_view fileName, std::string_view section, std::string_view key,
             std::string_view value) const;

 private:
  std::string m_directory;
};

}  // namespace lyrics
