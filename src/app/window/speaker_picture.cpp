#include "app/window/speaker_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/window/transparent_square.h"

namespace app {

QPixmap speakerPicture(int size, qreal devicePixelRatio) {
  QPixmap picture = transparentSquare(size, devicePixelRatio);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 24-unit grid and scaled to the asked size.
  painter.scale(size / 24.0, size / 24.0);

  const QColor ink(0x1f, 0x6f, 0x57);
  QLinearGradient body(0, 4, 0, 20);
  body.setColorAt(0, QColor(0x5c, 0xc9, 0xa4));
  body.setColorAt(1, QColor(0x23, 0x8a, 0x6a));

  QPainterPath speaker;
  speaker.moveTo(2.5, 9);
  speaker.lineTo(7, 9);
  speaker.lineTo(12.5, 4);
  speaker.lineTo(12.5, 20);
  speaker.lineTo(7, 15);
  speaker.lineTo(2.5, 15);
  speaker.closeSubpath();
  painter.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(body);
  painter.drawPath(speaker);

  // Three sound waves, fainter as they spread.
  const qreal radii[] = {3.5, 6.5, 9.5};
  const int alphas[] = {255, 200, 140};
  for (int wave = 0; wave < 3; ++wave) {
    QColor colour = ink;
    colour.setAlpha(alphas[wave]);
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const qreal r = radii[wave];
    painter.drawArc(QRectF(12.5 - r, 12 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  return picture;
}

}  // namespace app
