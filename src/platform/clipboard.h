#pragma once

#include <string>

namespace platform {

// The system clipboard as plain text (GBK bytes).
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with `text`; failures are silent.
  virtual void setText(const std::string& text) = 0;
};

}  // namespace platform
