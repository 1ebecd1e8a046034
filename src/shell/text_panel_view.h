#pragma once

namespace shell {

// A text panel that waits outside the window and is moved in over it.
class TextPanelView {
 public:
  virtual ~TextPanelView() = default;
  // Top edge in the main window's client coordinates.
  virtual int top() const = 0;
  // Moves the panel's top-left corner to `left`, `top`.
  virtual void move(int left, int top) = 0;
  // Puts the panel above every other control.
  virtual void raise() = 0;
};

}  // namespace shell
