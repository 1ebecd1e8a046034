#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace testsupport {

// File dialogs that return a scripted choice and remember how they were opened.
class ScriptedDialogs : public platform::Dialogs {
 public:
  struct Opened {
    std::string title;
    std::string filter;
    std::string directory;
  };

  std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                      const std::string& initialDirectory) override {
    opened.push_back({title, filter, initialDirectory});
    return choice;
  }
  std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                      const std::string& initialDirectory) override {
    opened.push_back({title, filter, initialDirectory});
    return choice;
  }
  std::string desktopDirectory() override { return desktop; }

  std::optional<std::string> choice;
  std::string desktop = "/home/user/Desktop/";
  std::vector<Opened> opened;
};

}  // namespace testsupport
