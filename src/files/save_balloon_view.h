#pragma once

#include <string>

namespace files {

// The main window's outer rectangle and its status bar's height, in screen pixels.
struct WindowFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int statusBarHeight = 0;
};

// The main window as the save command sees it: where it stands and its balloon tip.
class SaveBalloonView {
 public:
  virtual ~SaveBalloonView() = default;
  // The window's current frame.
  virtual WindowFrame windowFrame() const = 0;
  // Shows a balloon tip with `text` and no icon, pointing at screen position (x, y).
  virtual void showBalloon(const std::string& text, int x, int y) = 0;
};

}  // namespace files
