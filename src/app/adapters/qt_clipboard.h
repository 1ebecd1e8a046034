#pragma once

#include "platform/clipboard.h"

namespace app {

// The system clipboard: GBK text is decoded and put there as plain text.
class QtClipboard : public platform::Clipboard {
 public:
  void setText(const std::string& text) override;
};

}  // namespace app
