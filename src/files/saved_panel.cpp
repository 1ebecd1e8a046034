#include "files/saved_panel.h"

namespace files {

SavedPanel::SavedPanel(SavedPanelView& view, platform::IntervalTimer& slideIn,
                       platform::IntervalTimer& slideOut)
    : m_view(view), m_slideIn(slideIn), m_slideOut(slideOut) {}

void SavedPanel::toggleSavedPanel() {
  // A double-click during a slide finds the picture unchanged and sets the running timer's
  // interval again, which keeps its phase.
  if (m_openImage) {
    m_slideOut.setInterval(kTickMilliseconds);
  } else {
    m_slideIn.setInterval(kTickMilliseconds);
  }
}

void SavedPanel::slideInTick() {
  const int left = m_left - kSlideStep;
  // From 530 the panel reaches 20 after 17 steps and snaps the last pixels to rest.
  if (left <= kSlideInLastStep) {
    moveTo(kOpenLeft);
    m_slideIn.setInterval(0);
    showImage(true);
    return;
  }
  moveTo(left);
}

void SavedPanel::slideOutTick() {
  const int left = m_left + kSlideStep;
  // From 0 the panel reaches 540 after 18 steps and comes back to just outside the window.
  if (left >= kSlideOutLastStep) {
    moveTo(kClosedLeft);
    m_slideOut.setInterval(0);
    showImage(false);
    return;
  }
  moveTo(left);
}

void SavedPanel::closeSavedPanel() {
  // Both timers stop: a slide-out left running from 530 would never meet its end position
  // and would carry the panel away to the right for ever.
  m_slideIn.setInterval(0);
  m_slideOut.setInterval(0);
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
