#pragma once

#include <QPixmap>

namespace app {

// The toggle picture of the saved-lyrics panel: a blue arrow pointing left (the panel is
// closed and comes in from the right) or right (the panel is open and goes out to the right),
// drawn for a square of `size` logical pixels on a screen of `devicePixelRatio`.
QPixmap toggleArrowPicture(bool pointsRight, int size, qreal devicePixelRatio = 1.0);

}  // namespace app
