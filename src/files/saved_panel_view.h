#pragma once

namespace files {

// The saved-lyrics panel and its toggle picture as the panel's controller drives them.
class SavedPanelView {
 public:
  virtual ~SavedPanelView() = default;
  // Moves the panel's left edge to `left` (window coordinates; its top stays put).
  virtual void setPanelLeft(int left) = 0;
  // Shows the open picture (arrow to the right) or the closed one (arrow to the left).
  virtual void showToggleImage(bool open) = 0;
};

}  // namespace files
