#pragma once

#include "platform/rgb_colour.h"
#include "shell/font_spec.h"

namespace shell {

// A control whose text the font dialog restyles: the lyrics list or the preview box.
class FontTargetView {
 public:
  virtual ~FontTargetView() = default;
  // Draws the control's text in `font` and `colour`.
  virtual void setTextFont(const FontSpec& font, platform::RgbColour colour) = 0;
};

}  // namespace shell
