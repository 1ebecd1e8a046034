#include "app/window/toggle_arrow_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/window/transparent_square.h"

namespace app {

QPixmap toggleArrowPicture(bool pointsRight, int size, qreal devicePixelRatio) {
  QPixmap picture = transparentSquare(size, devicePixelRatio);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn pointing left on a 27-unit grid; the right arrow is its mirror image.
  painter.scale(size / 27.0, size / 27.0);
  if (pointsRight) {
    painter.translate(27, 0);
    painter.scale(-1, 1);
  }

  QPainterPath arrow;
  arrow.moveTo(2.5, 13.5);
  arrow.lineTo(12, 4);
  arrow.lineTo(12, 9.5);
  arrow.lineTo(24.5, 9.5);
  arrow.lineTo(24.5, 17.5);
  arrow.lineTo(12, 17.5);
  arrow.lineTo(12, 23);
  arrow.closeSubpath();

  QLinearGradient body(0, 4, 0, 23);
  body.setColorAt(0, QColor(0x6c, 0xb4, 0xf2));
  body.setColorAt(1, QColor(0x1c, 0x5f, 0xc4));
  painter.setPen(QPen(QColor(0x12, 0x3f, 0x8c), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(body);
  painter.drawPath(arrow);
  return picture;
}

}  // namespace app
