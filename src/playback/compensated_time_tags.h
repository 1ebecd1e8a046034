#pragma once

#include <algorithm>
#include <string>

#include "lyrics/time_tag_source.h"
#include "platform/input_moments.h"
#include "platform/monotonic_clock.h"
#include "playback/key_lag_setting.h"
#include "playback/play_clock.h"

namespace playback {

// The time a key press or a click on the tag button stamps: the play clock's tag at the moment
// the key or button was pressed, less the user's key lag while the compensation is on. A press
// that waited in the queue before the editor came to it still stamps its own moment. All must
// outlive it; `clock` is the play clock's.
class CompensatedTimeTags : public lyrics::TimeTagSource {
 public:
  CompensatedTimeTags(PlayClock& playClock, const KeyLagSetting& keyLag,
                      const platform::InputMoments& inputs, const platform::MonotonicClock& clock)
      : m_playClock(playClock), m_keyLag(keyLag), m_inputs(inputs), m_clock(clock) {}

  // The clock's tag of the press, less the lag while it is on.
  std::string currentTag() override {
    const std::int64_t lagNs = m_keyLag.compensationNs() + waitedNs();
    return lagNs > 0 ? m_playClock.tagLessLag(lagNs) : m_playClock.currentTag();
  }

  // How long ago the press being handled happened; 0 when that is not known.
  std::int64_t waitedNs() const {
    const auto pressed = m_inputs.handledInputNs();
    if (!pressed) return 0;
    return std::clamp<std::int64_t>(m_clock.nowNs() - *pressed, 0, platform::kLongestInputWaitNs);
  }

 private:
  PlayClock& m_playClock;
  const KeyLagSetting& m_keyLag;
  const platform::InputMoments& m_inputs;
  const platform::MonotonicClock& m_clock;
};

}  // namespace playback
