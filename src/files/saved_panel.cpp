#include "files/saved_panel.h"

namespace files {

namespace {
constexpr int kSlideStep = 30;
}  // namespace

// From 530 the panel reaches 20 after 17 steps of 30 and snaps the last pixels to rest; from 0
// it reaches 540 after 18 steps and comes back to just outside the window.
SavedPanel::SavedPanel(SavedPanelView& view, platform::IntervalTimer& slideIn,
                       platform::IntervalTimer& slideOut)
    : m_view(view),
      m_slideIn(
          slideIn, {-kSlideStep, 20, kOpenLeft}, [this](int left) { moveTo(left); },
          [this] { showImage(true); }),
      m_slideOut(
          slideOut, {kSlideStep, 540, kClosedLeft}, [this](int left) { moveTo(left); },
          [this] { showImage(false); }) {}

void SavedPanel::toggleSavedPanel() {
  // A double-click during a slide finds the picture unchanged and sets the running timer's
  // interval again, which keeps its phase.
  (m_openImage ? m_slideOut : m_slideIn).start(m_left);
}

void SavedPanel::closeSavedPanel() {
  // Both timers stop: a slide-out left running from 530 would never meet its end position
  // and would carry the panel away to the right for ever.
  m_slideIn.stop();
  m_slideOut.stop();
  moveTo(kClosedLeft);
  showImage(false);
}

void SavedPanel::moveTo(int left) {
  m_left = left;
  m_view.setPanelLeft(left);
}

void SavedPanel::showImage(bool open) {
  m_openImage = open;
  m_view.showToggleImage(open);
}

}  // namespace files
