#pragma once

#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>

class QPainterPath;

namespace app {

// The window's balloon tip `气球提示框1`: a small frameless bubble with a tail whose point
// rests on a screen position, showing one text without an icon. It never takes the focus or
// activates itself, and goes away after a few seconds or when clicked.
class BalloonTip : public QWidget {
  Q_OBJECT

 public:
  // How long a balloon stays up.
  static constexpr int kShowMilliseconds = 5000;

  // A hidden balloon over `parent`'s window.
  explicit BalloonTip(QWidget* parent);

  // Shows `text` with the tail's point at `anchor` (screen coordinates), above the point or,
  // where the screen has no room above, below it.
  void showAt(const QString& text, QPoint anchor);
  // The shown text.
  QString text() const { return m_text; }
  // Where the tail points, in screen coordinates.
  QPoint anchor() const { return m_anchor; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // The bubble and its tail in widget coordinates for the current size and side.
  QPainterPath outline() const;
  QRect textRect() const;

  QString m_text;
  QPoint m_anchor;
  bool m_below = false;
  int m_tailX = 0;
  QTimer m_hideTimer;
};

}  // namespace app
