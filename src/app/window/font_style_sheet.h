#pragma once

#include <QString>

#include "platform/rgb_colour.h"
#include "shell/font_spec.h"

namespace app {

// Style-sheet rules that draw the widgets `selector` matches in `font` and `colour`. A widget's
// own sheet wins over the skin's, so these rules show through any skin. No name and size 0 set
// no face and no size: the widget keeps the face and size the application draws with. The
// colour holds for the disabled state as well.
QString fontStyleSheet(const QString& selector, const shell::FontSpec& font,
                       platform::RgbColour colour);

}  // namespace app
