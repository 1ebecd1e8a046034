#pragma once

#include <cstdint>

#include "platform/master_volume.h"
#include "playback/volume_view.h"

namespace playback {

// The volume commands: the slider shows and sets the desktop's master volume, both channels
// alike, on a 0..100 scale.
class VolumeControl {
 public:
  // `mixer` and `view` must outlive this.
  VolumeControl(platform::MasterVolume& mixer, VolumeView& view);

  // Binds the mixer to the master output and shows its volume on the slider and the label.
  // Without a usable mixer the slider starts at 0; nothing is reported.
  void initVolume();
  // Shows the slider position on the label and writes it to both channels (the balance
  // between them is lost). The result of the write is not looked at.
  void applyVolume();

  // The mixer's maximum as read by initVolume; 0 before it or without a mixer.
  std::uint32_t maximum() const { return m_maximum; }

 private:
  platform::MasterVolume& m_mixer;
  VolumeView& m_view;
  std::uint32_t m_maximum = 0;
};

}  // namespace playback
