#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace testsupport {

// Records every message box and answers questions from a queue (No when it runs dry).
class RecordingPrompter : public platform::Prompter {
 public:
  struct Shown {
    std::string text;
    std::string title;
    platform::MessageIcon icon;
    bool question;
  };

  void inform(const std::string& text, const std::string& title,
              platform::MessageIcon icon) override {
    shown.push_back({text, title, icon, false});
  }
  bool ask(const std::string& text, const std::string& title, platform::MessageIcon icon) override {
    shown.push_back({text, title, icon, true});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<Shown> shown;
  std::deque<bool> answers;
};

}  // namespace testsupport
