#include "app/window/balloon_tip.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <algorithm>

namespace app {

namespace {

constexpr int kPadding = 8;
constexpr int kTailHeight = 12;
constexpr int kTailWidth = 14;
// The tail stands near the bubble's right end: the balloon opens to the left of its point,
// which sits near the right edge of the window.
constexpr int kTailFromRight = 24;
constexpr qreal kRadius = 6;

}  // namespace

BalloonTip::BalloonTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("气球提示框1"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  m_hideTimer.setSingleShot(true);
  connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonTip::showAt(const QString& text, QPoint anchor) {
  m_text = text;
  m_anchor = anchor;
  const QSize textSize = fontMetrics().size(0, text);
  const int width = std::max(textSize.width() + 2 * kPadding, kTailFromRight + kTailWidth);
  const int height = textSize.height() + 2 * kPadding + kTailHeight;
  m_tailX = width - kTailFromRight;
  const QScreen* screen = QGuiApplication::screenAt(anchor);
  if (!screen) screen = QGuiApplication::primaryScreen();
  m_below = screen && anchor.y() - height < screen->geometry().top();
  resize(width, height);
  move(anchor.x() - m_tailX, m_below ? anchor.y() : anchor.y() - height);
  // Outside its outline the balloon lets the window behind it show, with or without a
  // compositing window manager.
  setMask(QRegion(outline().toFillPolygon().toPolygon()));
  show();
  raise();
  update();
  m_hideTimer.start(kShowMilliseconds);
}

QPainterPath BalloonTip::outline() const {
  const int top = m_below ? kTailHeight : 0;
  const QRectF body(0.5, top + 0.5, width() - 1.0, height() - kTailHeight - 1.0);
  QPainterPath bubble;
  bubble.addRoundedRect(body, kRadius, kRadius);
  QPainterPath tail;
  const qreal tipY = m_below ? 0.0 : height() - 0.5;
  const qreal baseY = m_below ? body.top() + 1 : body.bottom() - 1;
  tail.moveTo(m_tailX - kTailWidth / 2.0, baseY);
  tail.lineTo(m_tailX, tipY);
  tail.lineTo(m_tailX + kTailWidth / 2.0, baseY);
  tail.closeSubpath();
  return bubble.united(tail);
}

QRect BalloonTip::textRect() const {
  const int top = m_below ? kTailHeight : 0;
  return QRect(kPadding, top + kPadding, width() - 2 * kPadding,
               height() - kTailHeight - 2 * kPadding);
}

void BalloonTip::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x76, 0x76, 0x76), 1));
  painter.setBrush(QColor(0xff, 0xff, 0xe1));
  painter.drawPath(outline());
  painter.setPen(Qt::black);
  painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

void BalloonTip::mousePressEvent(QMouseEvent* event) {
  m_hideTimer.stop();
  hide();
  event->accept();
}

}  // namespace app
