#pragma once

#include <string>

namespace lyrics {

// The small panel where the user edits the personal signature. Texts are GBK/GB18030 bytes.
class SignaturePanelView {
 public:
  virtual ~SignaturePanelView() = default;
  // Moves the panel to `left`, `top` in the main window.
  virtual void move(int left, int top) = 0;
  // Gives the keyboard focus to the panel's edit box.
  virtual void focusEditBox() = 0;
  // The edit box's text.
  virtual std::string text() const = 0;
  // Replaces the edit box's text.
  virtual void setText(const std::string& text) = 0;
};

}  // namespace lyrics
