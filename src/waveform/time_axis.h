#pragma once

namespace waveform {

// The time axis of the waveform view: which stretch of the song its width shows, and the
// mapping between a time in seconds and an x position in pixels. The view never shows before
// the song's start nor past its end, and never less than kMinSpan seconds across.
class TimeAxis {
 public:
  static constexpr double kMinSpan = 2.0;

  // The song's length; the view shows all of it.
  void setDuration(double seconds);
  // The view's width in pixels; the stretch shown stays.
  void setWidth(int pixels);
  // Shows the whole song.
  void showAll();
  double duration() const { return m_duration; }
  int width() const { return m_width; }
  // First second shown, at x = 0.
  double start() const { return m_start; }
  // Seconds across the width.
  double span() const { return m_span; }
  double secondsPerPixel() const { return m_span / m_width; }

  double toX(double seconds) const { return (seconds - m_start) / secondsPerPixel(); }
  double toTime(double x) const { return m_start + x * secondsPerPixel(); }

  // Multiplies the span by `factor` (below 1 zooms in) keeping the time under `x` where it is.
  void zoomAround(double x, double factor);
  // Moves the view by `pixels` of its own (positive shows later times).
  void scrollBy(double pixels);
  // Brings `seconds` into view `margin` (a fraction of the width) from the left edge, as a
  // page turn; a time already in view moves nothing.
  void follow(double seconds, double margin);

 private:
  void clamp();
  double maxSpan() const { return m_duration > kMinSpan ? m_duration : kMinSpan; }

  double m_duration = 0;
  int m_width = 1;
  double m_start = 0;
  double m_span = kMinSpan;
};

}  // namespace waveform
