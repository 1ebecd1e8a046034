#include "waveform/time_axis.h"

#include <algorithm>
#include <cmath>

namespace waveform {

void TimeAxis::setDuration(double seconds) {
  m_duration = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
  clamp();
}

void TimeAxis::setWidth(int pixels) { m_width = std::max(pixels, 1); }

void TimeAxis::showAll() {
  m_start = 0;
  m_span = maxSpan();
}

void TimeAxis::zoomAround(double x, double factor) {
  if (!std::isfinite(factor) || factor <= 0) return;
  const double anchor = toTime(x);
  m_span = std::clamp(m_span * factor, kMinSpan, maxSpan());
  m_start = anchor - x * secondsPerPixel();
  clamp();
}

void TimeAxis::scrollBy(double pixels) {
  if (!std::isfinite(pixels)) return;
  m_start += pixels * secondsPerPixel();
  clamp();
}

void TimeAxis::follow(double seconds, double margin) {
  if (seconds >= m_start && seconds <= m_start + m_span) return;
  const double room = m_span * std::clamp(margin, 0.0, 1.0);
  m_start = seconds - room;
  clamp();
}

void TimeAxis::clamp() {
  m_span = std::clamp(m_span, kMinSpan, maxSpan());
  m_start = std::clamp(m_start, 0.0, std::max(0.0, m_duration - m_span));
}

}  // namespace waveform
