#pragma once

#include "shell/window_drop_view.h"

class QWidget;

namespace app {

// The main window's place on the screen, for the window drop.
class QtWindowPlacement : public shell::WindowDropView {
 public:
  explicit QtWindowPlacement(QWidget* window) : m_window(window) {}

  // False on Wayland, where a client cannot put its windows anywhere.
  bool canPlaceWindow() const override;
  // Moves the window's frame so that its top is at `top`; the left edge stays.
  void moveWindowTop(int top) override;

 private:
  QWidget* m_window;
};

}  // namespace app
