#pragma once

#include <QPixmap>

namespace app {

// A transparent square of `size` logical pixels for a screen of `devicePixelRatio`, for a
// picture to be painted on.
inline QPixmap transparentSquare(int size, qreal devicePixelRatio) {
  QPixmap picture(QSize(size, size) * devicePixelRatio);
  picture.setDevicePixelRatio(devicePixelRatio);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace app
