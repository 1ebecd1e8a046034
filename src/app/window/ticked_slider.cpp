#include "app/window/ticked_slider.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace app {

namespace {
constexpr int kTickLength = 3;
}  // namespace

void TickedSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionSlider option;
  initStyleOption(&option);
  // The groove and the handle as the look draws them; the marks are ours.
  option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
  style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
  if (tickPosition() == NoTicks || tickInterval() <= 0) return;

  const QRect groove =
      style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const int handle =
      style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).width();
  const int span = groove.width() - handle;
  painter.setPen(palette().color(QPalette::WindowText));
  for (int value = minimum(); value <= maximum(); value += tickInterval()) {
    // Under the middle of the handle where it stands at that value.
    const int x = groove.left() + handle / 2 +
                  QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
    if (tickPosition() & TicksBelow) painter.drawLine(x, height() - kTickLength, x, height() - 1);
    if (tickPosition() & TicksAbove) painter.drawLine(x, 0, x, kTickLength - 1);
  }
}

}  // namespace app
