#include "app/adapters/qt_test_play_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "app/adapters/gbk.h"
#include "app/window/main_window.h"

namespace app {

namespace {

// A round red button with a white cross, 32 × 32.
QPixmap closePicturePixmap() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(120, 20, 20), 1.5));
  painter.setBrush(QColor(205, 45, 40));
  painter.drawEllipse(QRectF(2, 2, 28, 28));
  painter.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(11, 11), QPointF(21, 21));
  painter.drawLine(QPointF(21, 11), QPointF(11, 21));
  return pixmap;
}

}  // namespace

QtTestPlayView::QtTestPlayView(const MainWindow& window)
    : m_closePicture(window.closePicture()),
      m_display(window.testPlayDisplay()),
      m_leftPiece(window.curtainLeft()),
      m_rightPiece(window.curtainRight()),
      m_openPicture(window.savedPanelPicture()),
      m_volumePicture(window.speakerPicture()) {
  m_closePicture->setPixmap(closePicturePixmap());
  // Its visibility is the test-play flag: off until the curtain has closed.
  m_closePicture->hide();
  m_display->hide();
  for (QLabel* piece : {m_leftPiece, m_rightPiece}) {
    piece->clear();
    piece->setAutoFillBackground(true);
    piece->setFrameStyle(QFrame::Panel | QFrame::Raised);
  }
  m_display->raise();
  m_closePicture->raise();
}

bool QtTestPlayView::closePictureVisible() const {
  // Shown or not by test play itself, whether or not the window is on the screen.
  return !m_closePicture->isHidden();
}

void QtTestPlayView::setClosePictureVisible(bool visible) { m_closePicture->setVisible(visible); }

void QtTestPlayView::setDisplayVisible(bool visible) { m_display->setVisible(visible); }

void QtTestPlayView::setOpenPictureVisible(bool visible) { m_openPicture->setVisible(visible); }

void QtTestPlayView::setVolumePictureVisible(bool visible) { m_volumePicture->setVisible(visible); }

void QtTestPlayView::setDisplayText(const std::string& text) {
  const QString shown = toQString(text);
  // The same line is matched ten times a second; only a new one is worth a repaint.
  if (m_display->text() == shown) return;
  m_display->setText(shown);
  // A line longer than the box shows its beginning, not its end.
  m_display->setCursorPosition(0);
}

void QtTestPlayView::setDisplayColour(std::uint32_t colour) {
  // The box's own sheet, not its palette: the skin's rule for every widget's text colour would
  // win over a palette, and the box would never change colour on the screen.
  m_display->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3);")
                               .arg(colour & 0xFF)
                               .arg((colour >> 8) & 0xFF)
                               .arg((colour >> 16) & 0xFF));
}

int QtTestPlayView::leftPieceLeft() const { return m_leftPiece->x(); }

void QtTestPlayView::moveLeftPiece(int left) { m_leftPiece->move(left, m_leftPiece->y()); }

int QtTestPlayView::rightPieceLeft() const { return m_rightPiece->x(); }

void QtTestPlayView::moveRightPiece(int left) { m_rightPiece->move(left, m_rightPiece->y()); }

void QtTestPlayView::showClosePictureAt(int left, int top) {
  m_closePicture->show();
  m_closePicture->move(left, top);
}

void QtTestPlayView::moveDisplayBox(int left, int top) { m_display->move(left, top); }

}  // namespace app
