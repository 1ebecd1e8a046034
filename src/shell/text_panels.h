#pragma once

#include "shell/text_panel_view.h"

namespace shell {

// The quick-start and About panels: moved over the window by their menu items and away by a
// double-click. Both may be in place at once; the one shown last lies on top.
class TextPanels {
 public:
  // Left edges of the panels while away.
  static constexpr int kQuickStartAwayLeft = 1056;
  static constexpr int kAboutAwayLeft = 1590;

  TextPanels(TextPanelView& quickStart, TextPanelView& about);

  // ShowQuickStart: the quick-start panel covers the window (its top stays).
  void showQuickStart();
  // HideQuickStart.
  void hideQuickStart();
  // ShowAbout: the About panel moves to the window's top-left corner.
  void showAbout();
  // HideAbout.
  void hideAbout();

 private:
  TextPanelView& m_quickStart;
  TextPanelView& m_about;
};

}  // namespace shell
