#pragma once

namespace shell {

// The main window's place on the screen, for the window drop.
class WindowDropView {
 public:
  virtual ~WindowDropView() = default;
  // False where the window system does not let a program place its windows.
  virtual bool canPlaceWindow() const = 0;
  // Puts the window's top edge at `top` in screen coordinates (its left stays).
  virtual void moveWindowTop(int top) = 0;
};

}  // namespace shell
