#include "shell/window_drop.h"

namespace shell {

// -620 + 17 × 40 = 60: the drop takes 17 ticks.
WindowDrop::WindowDrop(WindowDropView& view, platform::IntervalTimer& timer)
    : m_view(view),
      m_slide(timer, {kStep, kEndTop, kEndTop}, [this](int top) { m_view.moveWindowTop(top); }) {}

void WindowDrop::statusBarMouseMove(int y) {
  // The status bar keeps reporting moves while the window falls under a resting pointer; each
  // one would throw the window back up, so only the first counts.
  if (!m_armed || y <= kTriggerBelowY) return;
  m_armed = false;
  if (!m_view.canPlaceWindow()) return;
  m_view.moveWindowTop(kStartTop);
  m_slide.start(kStartTop);
}

}  // namespace shell
