#pragma once

#include "files/saved_panel_view.h"
#include "platform/slide.h"

namespace files {

// The panel holding the saved-lyrics list: it slides in over the editing area from the right
// and out again, and the toggle picture shows which way the next double-click moves it.
class SavedPanel {
 public:
  // Geometry of the panel.
  static constexpr int kTop = 57;
  static constexpr int kWidth = 523;
  static constexpr int kHeight = 471;
  static constexpr int kClosedLeft = 530;
  static constexpr int kOpenLeft = 0;

  SavedPanel(SavedPanelView& view, platform::IntervalTimer& slideIn,
             platform::IntervalTimer& slideOut);

  // The toggle picture's double-click: slides in when closed, out when open.
  void toggleSavedPanel();
  // Puts the panel outside the window at once with the closed picture, stopping any slide.
  void closeSavedPanel();
  // The slides of 时钟_保存歌词开 and 时钟_保存歌词关.
  platform::Slide& slideIn() { return m_slideIn; }
  platform::Slide& slideOut() { return m_slideOut; }

  // The panel's left edge.
  int left() const { return m_left; }
  // True while the open picture is shown.
  bool showsOpenImage() const { return m_openImage; }

 private:
  void moveTo(int left);
  void showImage(bool open);

  SavedPanelView& m_view;
  platform::Slide m_slideIn;
  platform::Slide m_slideOut;
  int m_left = kClosedLeft;
  bool m_openImage = false;
};

}  // namespace files
