#include "playback/volume_control.h"

#include <optional>
#include <string>

#include "playback/volume_scale.h"

namespace playback {

VolumeControl::VolumeControl(platform::MasterVolume& mixer, VolumeView& view)
    : m_mixer(mixer), m_view(view) {}

void VolumeControl::initVolume() {
  const bool bound = m_mixer.bindMaster();
  const std::optional<platform::MasterVolume::Channels> channels =
      bound ? m_mixer.volume() : std::nullopt;
  m_maximum = bound ? m_mixer.maximum() : 0;
  const int position =
      channels ? volumeSliderPosition(channels->left, channels->right, m_maximum) : 0;
  // Showing the volume must not write it back: that would even out the channels and, with
  // the one added per cent, raise the volume a little at every start.
  m_view.setSliderPosition(position);
  m_view.setLabelText(std::to_string(m_view.sliderPosition()));
}

void VolumeControl::applyVolume() {
  const int position = m_view.sliderPosition();
  m_view.setLabelText(std::to_string(position));
  const std::uint32_t value = volumeForPosition(m_maximum, position);
  m_mixer.setVolume({value, value});
}

}  // namespace playback
