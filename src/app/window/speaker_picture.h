#pragma once

#include <QPixmap>

namespace app {

// The speaker picture of the volume control: a loudspeaker with three sound waves, drawn for a
// square of `size` logical pixels on a screen of `devicePixelRatio`.
QPixmap speakerPicture(int size, qreal devicePixelRatio = 1.0);

}  // namespace app
