#pragma once

#include <string>
#include <vector>

#include "platform/clipboard.h"

namespace testsupport {

// Keeps every text put on the clipboard, in order.
class RecordingClipboard : public platform::Clipboard {
 public:
  void setText(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

}  // namespace testsupport
