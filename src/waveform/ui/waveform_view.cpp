#include "waveform/ui/waveform_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "waveform/label_rows.h"

namespace waveform {

namespace {

const QColor kBackground(0x1c, 0x1f, 0x24);
const QColor kRuler(0x2c, 0x30, 0x36);
const QColor kWave(0x5a, 0xaa, 0xe6);
const QColor kMark(0xe6, 0xa4, 0x3c);
const QColor kSelected(0xff, 0x50, 0x50);
const QColor kCursor(0x60, 0xf0, 0x60);

QString clockText(double seconds) {
  const int whole = static_cast<int>(std::floor(seconds));
  return QStringLiteral("%1:%2")
      .arg(whole / 60, 2, 10, QLatin1Char('0'))
      .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// A ruler step of whole seconds that leaves at least `minPixels` between two labels.
double rulerStep(double secondsPerPixel, double minPixels) {
  static const double steps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 1800, 3600};
  for (double step : steps) {
    if (step / secondsPerPixel >= minPixels) return step;
  }
  return 7200;
}

// Frames of the scroll under a mark held at an edge, in milliseconds.
constexpr int kEdgeFrameMs = 16;

}  // namespace

WaveformView::WaveformView(const Envelope& envelope, const TagMarks& marks,
                           std::function<QString(const Mark&)> label, QWidget* parent)
    : QWidget(parent), m_envelope(envelope), m_marks(marks), m_label(std::move(label)) {
  setObjectName(QStringLiteral("波形_视图"));
  setMinimumSize(200, 120);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_axis.setWidth(width());
  m_edgeTimer.setInterval(kEdgeFrameMs);
  connect(&m_edgeTimer, &QTimer::timeout, this, &WaveformView::edgeScroll);
}

void WaveformView::setSelectedLine(int line) {
  if (line == m_selectedLine) return;
  m_selectedLine = line;
  update();
}

void WaveformView::setPlayCursor(double seconds, bool follow) {
  const double start = m_axis.start();
  if (follow && seconds >= 0) m_axis.follow(seconds, 0.1);
  if (m_axis.start() != start) {
    // A page turn: the whole view shows another stretch.
    m_cursor = seconds;
    update();
    return;
  }
  if (seconds == m_cursor) return;
  if (m_cursor >= 0) updateCursorAt(cursorX());
  m_cursor = seconds;
  if (m_cursor >= 0) updateCursorAt(cursorX());
}

int WaveformView::cursorX() const { return static_cast<int>(std::lround(m_axis.toX(m_cursor))); }

void WaveformView::updateCursorAt(int x) {
  if (x < -1 || x > width()) return;
  update(x - 1, 0, 3, height());
}

void WaveformView::resizeEvent(QResizeEvent*) {
  // The axis keeps its stretch of the song in seconds: the same stretch fills the new width.
  m_axis.setWidth(width());
}

void WaveformView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) ++m_fontRevision;
  QWidget::changeEvent(event);
}

WaveformView::PictureKey WaveformView::pictureKey() const {
  const bool dragging = m_grabbed && m_moved;
  return {.start = m_axis.start(),
          .span = m_axis.span(),
          .size = size(),
          .ratio = devicePixelRatioF(),
          .envelope = m_envelope.revision(),
          .marks = m_marks.revision(),
          .selected = m_selectedLine,
          .dragging = dragging,
          .dragTo = dragging ? m_dragTo : 0,
          .font = m_fontRevision};
}

void WaveformView::paintEvent(QPaintEvent* event) {
  const PictureKey key = pictureKey();
  if (m_picture.isNull() || !(key == m_pictureKey)) {
    drawPicture();
    m_pictureKey = key;
    // Only the cursor's columns may have been asked for: the rest shows the new picture too.
    if (event->rect() != rect()) update();
  }
  QPainter painter(this);
  const QRect area = event->rect();
  const qreal ratio = m_picture.devicePixelRatio();
  painter.drawPixmap(
      QRectF(area), m_picture,
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
  if (m_cursor >= 0) {
    const int x = cursorX();
    painter.setPen(kCursor);
    painter.drawLine(x, 0, x, height());
  }
}

void WaveformView::drawPicture() {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (m_picture.size() != pixels) m_picture = QPixmap(pixels);
  m_picture.setDevicePixelRatio(ratio);
  QPainter painter(&m_picture);
  painter.setFont(font());
  painter.fillRect(rect(), kBackground);
  paintWave(painter);
  paintRuler(painter);
  paintMarks(painter);
}

void WaveformView::paintRuler(QPainter& painter) {
  painter.fillRect(0, 0, width(), kRulerHeight, kRuler);
  painter.setPen(Qt::lightGray);
  const double step = rulerStep(m_axis.secondsPerPixel(), 60);
  for (double t = std::ceil(m_axis.start() / step) * step; t <= m_axis.start() + m_axis.span();
       t += step) {
    const int x = static_cast<int>(std::lround(m_axis.toX(t)));
    painter.drawLine(x, kRulerHeight - 5, x, kRulerHeight);
    painter.drawText(x + 3, kRulerHeight - 5, clockText(t));
  }
}

void WaveformView::paintWave(QPainter& painter) {
  const int top = kRulerHeight;
  const double middle = top + (height() - top) / 2.0;
  const double half = (height() - top) / 2.0 - 2;
  painter.setPen(kWave);
  const double perPixel = m_axis.secondsPerPixel();
  for (int x = 0; x < width(); ++x) {
    const double from = m_axis.toTime(x);
    if (from >= m_envelope.seconds()) break;
    const auto [low, high] = m_envelope.range(from, from + perPixel);
    painter.drawLine(x, static_cast<int>(std::lround(middle - high * half)), x,
                     static_cast<int>(std::lround(middle - low * half)));
  }
}

void WaveformView::paintMarks(QPainter& painter) {
  const auto& marks = m_marks.marks();
  const double first = m_axis.start() - 2 * m_axis.secondsPerPixel();
  const double last = m_axis.start() + m_axis.span();
  const QFontMetrics metrics(painter.font());
  const bool dragging = m_grabbed && m_moved;
  struct Shown {
    int x;
    const Mark* mark;
    QString label;
  };
  std::vector<Shown> shown;
  for (std::size_t i = m_marks.lowerBound(static_cast<std::int64_t>(std::floor(first * 100)));
       i < marks.size() && marks[i].hundredths <= last * 100; ++i) {
    const Mark& mark = marks[i];
    const bool grabbed = dragging && *m_grabbed == mark;
    const double seconds = (grabbed ? m_dragTo : mark.hundredths) / 100.0;
    shown.push_back({static_cast<int>(std::lround(m_axis.toX(seconds))), &mark, m_label(mark)});
  }
  // A dragged mark may have left its place among the others.
  std::stable_sort(shown.begin(), shown.end(),
                   [](const Shown& a, const Shown& b) { return a.x < b.x; });
  std::vector<LabelSpan> spans;
  spans.reserve(shown.size());
  for (const Shown& s : shown) {
    spans.push_back({s.x + 3.0, s.x + 3.0 + metrics.horizontalAdvance(s.label)});
  }
  // Labels that would cover one another go to the rows below; one with no room left is not drawn,
  // and that is never the current line's.
  const int labelRow = metrics.height();
  const int rows = std::clamp((height() - kRulerHeight) / std::max(labelRow, 1), 1, kLabelRows);
  const auto current = std::find_if(shown.begin(), shown.end(), [this](const Shown& s) {
    return s.mark->line == m_selectedLine;
  });
  const std::vector<int> placed = stackLabels(
      spans, rows, 4, current == shown.end() ? -1 : static_cast<int>(current - shown.begin()));
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const Mark& mark = *shown[i].mark;
    const bool grabbed = dragging && *m_grabbed == mark;
    const bool selected = mark.line == m_selectedLine;
    painter.setPen(QPen(selected ? kSelected : kMark, selected || grabbed ? 2 : 1));
    painter.drawLine(shown[i].x, kRulerHeight, shown[i].x, height());
    if (placed[i] >= 0) {
      painter.drawText(shown[i].x + 3,
                       kRulerHeight + labelRow * (placed[i] + 1) - metrics.descent(),
                       shown[i].label);
    }
  }
  // A dragged mark may have left the stretch of its time: it is drawn where it is dragged.
  if (dragging) {
    const int x = static_cast<int>(std::lround(m_axis.toX(m_dragTo / 100.0)));
    painter.setPen(QPen(kSelected, 2));
    painter.drawLine(x, kRulerHeight, x, height());
  }
}

std::int64_t WaveformView::snappedHundredths(double x) const {
  return std::max<std::int64_t>(0, std::llround(m_axis.toTime(x) * 100));
}

void WaveformView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  m_axis.zoomAround(event->position().x(), std::pow(0.8, steps));
  update();
  event->accept();
}

void WaveformView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressed = true;
  m_moved = false;
  m_pressAt = m_lastAt = event->position().toPoint();
  const int hit = m_marks.hit(m_axis, event->position().x(), kGrabPixels);
  m_grabbed.reset();
  if (hit >= 0) {
    m_grabbed = m_marks.marks()[static_cast<std::size_t>(hit)];
    m_dragTo = m_grabbed->hundredths;
  }
}

void WaveformView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!m_pressed) {
    const bool overMark = m_marks.hit(m_axis, at.x(), kGrabPixels) >= 0;
    setCursor(overMark ? Qt::SizeHorCursor : Qt::ArrowCursor);
    return;
  }
  if (!m_moved && (at - m_pressAt).manhattanLength() <= kClickPixels) return;
  m_moved = true;
  if (m_grabbed) {
    m_dragTo = snappedHundredths(at.x());
    if (edgeStep(at.x()) != 0 && !m_edgeTimer.isActive()) m_edgeTimer.start();
  } else {
    m_axis.scrollBy(m_lastAt.x() - at.x());
  }
  m_lastAt = at;
  update();
}

double WaveformView::edgeStep(int x) const {
  // The deeper into the edge (or past it), the faster, up to a view's width in about a second.
  const double into = x < kEdgePixels             ? x - kEdgePixels
                      : x > width() - kEdgePixels ? x - (width() - kEdgePixels)
                                                  : 0;
  const double fastest = std::max(width() / 60.0, 2.0);
  return std::clamp(into / 2, -fastest, fastest);
}

void WaveformView::edgeScroll() {
  const double step = m_pressed && m_grabbed ? edgeStep(m_lastAt.x()) : 0;
  if (step == 0) {
    m_edgeTimer.stop();
    return;
  }
  m_axis.scrollBy(step);
  m_dragTo = snappedHundredths(m_lastAt.x());
  update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_pressed) return;
  m_pressed = false;
  m_edgeTimer.stop();
  const std::optional<Mark> grabbed = std::exchange(m_grabbed, std::nullopt);
  update();
  if (grabbed) {
    if (m_moved) {
      emit markMoved(*grabbed, snappedHundredths(event->position().x()));
    } else {
      emit markClicked(grabbed->line);
    }
  } else if (!m_moved) {
    emit clicked(std::max(0.0, m_axis.toTime(event->position().x())));
  }
}

}  // namespace waveform
