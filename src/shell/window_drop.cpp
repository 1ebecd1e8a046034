#include "shell/window_drop.h"

namespace shell {

WindowDrop::WindowDrop(WindowDropView& view, platform::IntervalTimer& timer)
    : m_view(view), m_timer(timer) {}

void WindowDrop::statusBarMouseMove(int y) {
  // The status bar keeps reporting moves while the window falls under a resting pointer; each
  // one would throw the window back up, so only the first counts.
  if (m_state != State::Armed || y <= kTriggerBelowY) return;
  if (!m_view.canPlaceWindow()) {
    m_state = State::Done;
    return;
  }
  m_state = State::Dropping;
  m_top = kStartTop;
  m_view.moveWindowTop(m_top);
  m_timer.setInterval(kTickMs);
}

void WindowDrop::slideWindowDownTick() {
  if (m_state != State::Dropping) return;
  // The top is counted here rather than read back: a window manager that keeps windows on the
  // screen would otherwise never let it reach the end and the timer would run for ever.
  m_top += kStep;
  if (m_top >= kEndTop) {
    m_top = kEndTop;
    m_timer.setInterval(0);
    m_state = State::Done;
  }
  m_view.moveWindowTop(m_top);
}

}  // namespace shell
