#pragma once

#include "files/saved_panel_view.h"
#include "platform/interval_timer.h"

namespace files {

// The panel holding the saved-lyrics list: it slides in over the editing area from the right
// and out again, and the toggle picture shows which way the next double-click moves it.
class SavedPanel {
 public:
  // Geometry of the panel and of one slide.
  static constexpr int kTop = 57;
  static constexpr int kWidth = 523;
  static constexpr int kHeight = 471;
  static constexpr int kClosedLeft = 530;
  static constexpr int kOpenLeft = 0;
  static constexpr int kSlideStep = 30;
  static constexpr int kSlideInLastStep = 20;
  static constexpr int kSlideOutLastStep = 540;
  static constexpr int kTickMilliseconds = 10;

  SavedPanel(SavedPanelView& view, platform::IntervalTimer& slideIn,
             platform::IntervalTimer& slideOut);

  // The toggle picture's double-click: slides in when closed, out when open.
  void toggleSavedPanel();
  // One tick of the slide-in timer.
  void slideInTick();
  // One tick of the slide-out timer.
  void slideOutTick();
  // Puts the panel outside the window at once with the closed picture, stopping any slide.
  void closeSavedPanel();

  // The panel's left edge.
  int left() const { return m_left; }
  // True while the open picture is shown.
  bool showsOpenImage() const { return m_openImage; }

 private:
  void moveTo(int left);
  void showImage(bool open);

  SavedPanelView& m_view;
  platform::IntervalTimer& m_slideIn;
  platform::IntervalTimer& m_slideOut;
  int m_left = kClosedLeft;
  bool m_openImage = false;
};

}  // namespace files
