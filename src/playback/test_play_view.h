#pragma once

#include <cstdint>
#include <string>

namespace playback {

// The controls test play shows and hides: the close picture (whose visibility is the test-play
// flag), the one-line display box and the two pictures at the bottom of the window.
class TestPlayView {
 public:
  virtual ~TestPlayView() = default;
  // True while the close picture is shown, which is exactly while test play is on.
  virtual bool closePictureVisible() const = 0;
  // Shows or hides the close picture.
  virtual void setClosePictureVisible(bool visible) = 0;
  // Shows or hides the display box.
  virtual void setDisplayVisible(bool visible) = 0;
  // Shows or hides the saved-lyrics opener picture.
  virtual void setOpenPictureVisible(bool visible) = 0;
  // Shows or hides the volume picture.
  virtual void setVolumePictureVisible(bool visible) = 0;
  // Replaces the display box's text (GBK bytes).
  virtual void setDisplayText(const std::string& text) = 0;
  // Sets the display box's text colour: red in the low byte, then green, then blue.
  virtual void setDisplayColour(std::uint32_t colour) = 0;
};

}  // namespace playback
