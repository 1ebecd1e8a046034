#pragma once

#include <string>

namespace playback {

// The volume slider `滑块条_右声道1` (0..100) and the label `标签_右1` beside it.
class VolumeView {
 public:
  virtual ~VolumeView() = default;
  // The slider's position.
  virtual int sliderPosition() const = 0;
  // Moves the slider without raising its position-changed event; the slider clamps to its range.
  virtual void setSliderPosition(int position) = 0;
  // Replaces the label's text (GBK bytes).
  virtual void setLabelText(const std::string& text) = 0;
};

}  // namespace playback
