#pragma once

#include "platform/slide.h"
#include "shell/window_drop_view.h"

namespace shell {

// The window drop: the first mouse move over the lower part of the status bar throws the window
// up above the screen and lets it fall back by 40 pixels per 10 ms tick. It happens once per run.
class WindowDrop {
 public:
  static constexpr int kStep = 40;
  static constexpr int kStartTop = -620;
  static constexpr int kEndTop = 60;
  // Mouse moves at or above this height of the status bar do nothing.
  static constexpr int kTriggerBelowY = 10;

  // `timer` is 时钟_启动窗口下.
  WindowDrop(WindowDropView& view, platform::IntervalTimer& timer);

  // A mouse move over the status bar at `y` in the bar's own coordinates.
  void statusBarMouseMove(int y);
  // SlideWindowDownTick, for the timer that ticks it.
  platform::Slide& slide() { return m_slide; }
  // True once the drop has run (or was skipped); the status bar then no longer reacts.
  bool done() const { return !m_armed && !m_slide.running(); }

 private:
  WindowDropView& m_view;
  // The top is counted by the slide rather than read back: a window manager that keeps windows
  // on the screen would otherwise never let it reach the end and the timer would run for ever.
  platform::Slide m_slide;
  bool m_armed = true;
};

}  // namespace shell
