#pragma once

#include "platform/interval_timer.h"
#include "shell/window_drop_view.h"

namespace shell {

// The window drop: the first mouse move over the lower part of the status bar throws the window
// up above the screen and lets it fall back by 40 pixels per 10 ms tick. It happens once per run.
class WindowDrop {
 public:
  static constexpr int kTickMs = 10;
  static constexpr int kStep = 40;
  static constexpr int kStartTop = -620;
  static constexpr int kEndTop = 60;
  // Mouse moves at or above this height of the status bar do nothing.
  static constexpr int kTriggerBelowY = 10;

  // `timer` is 时钟_启动窗口下.
  WindowDrop(WindowDropView& view, platform::IntervalTimer& timer);

  // A mouse move over the status bar at `y` in the bar's own coordinates.
  void statusBarMouseMove(int y);
  // SlideWindowDownTick.
  void slideWindowDownTick();
  // True once the drop has run (or was skipped); the status bar then no longer reacts.
  bool done() const { return m_state == State::Done; }

 private:
  enum class State { Armed, Dropping, Done };

  WindowDropView& m_view;
  platform::IntervalTimer& m_timer;
  State m_state = State::Armed;
  int m_top = kStartTop;
};

}  // namespace shell
