#pragma once

#include <optional>
#include <vector>

#include "platform/font_chooser.h"

namespace testsupport {

// A font dialog that gives a scripted answer (nothing: cancelled) and remembers what it was
// opened with.
class ScriptedFontChooser : public platform::FontChooser {
 public:
  std::optional<Values> choose(const Values& current) override {
    opened.push_back(current);
    return answer;
  }

  std::optional<Values> answer;
  std::vector<Values> opened;
};

}  // namespace testsupport
