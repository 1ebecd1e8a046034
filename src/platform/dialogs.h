#pragma once

#include <optional>
#include <string>

namespace platform {

// The standard file dialogs. Paths are GBK/GB18030 bytes; filters use the "name|pattern|..." form.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Lets the user choose an existing file; nothing when cancelled.
  virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                              const std::string& initialDirectory) = 0;
  // Lets the user choose a file name to write; nothing when cancelled.
  virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                              const std::string& initialDirectory) = 0;
  // The user's Desktop folder with a trailing separator.
  virtual std::string desktopDirectory() = 0;
};

}  // namespace platform
