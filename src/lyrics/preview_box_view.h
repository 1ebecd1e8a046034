#pragma once

#include <string>

namespace lyrics {

// The large multi-line edit box that shows the whole lyrics for free editing. Texts are
// GBK/GB18030 bytes.
class PreviewBoxView {
 public:
  virtual ~PreviewBoxView() = default;
  // Top edge in window coordinates.
  virtual int top() const = 0;
  // Moves the box to `left`, `top`.
  virtual void move(int left, int top) = 0;
  // True while the box takes input.
  virtual bool isEnabled() const = 0;
  // Enables or disables editing (a disabled box gets no mouse moves).
  virtual void setEnabled(bool enabled) = 0;
  // The box's whole content.
  virtual std::string text() const = 0;
  // Replaces the box's whole content.
  virtual void setText(const std::string& text) = 0;
  // True once the user changed the content since the last setText().
  virtual bool edited() const = 0;
};

}  // namespace lyrics
