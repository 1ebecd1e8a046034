#pragma once

#include <string>

#include "lyrics/time_tag_source.h"
#include "playback/key_lag_setting.h"
#include "playback/play_clock.h"

namespace playback {

// The time a key press or a click on the tag button stamps: the play clock's tag, less the
// user's key lag while the compensation is on. Both must outlive it.
class CompensatedTimeTags : public lyrics::TimeTagSource {
 public:
  CompensatedTimeTags(PlayClock& clock, const KeyLagSetting& keyLag)
      : m_clock(clock), m_keyLag(keyLag) {}

  // The clock's tag of this moment, less the lag while it is on.
  std::string currentTag() override {
    const std::int64_t lagNs = m_keyLag.compensationNs();
    return lagNs > 0 ? m_clock.tagLessLag(lagNs) : m_clock.currentTag();
  }

 private:
  PlayClock& m_clock;
  const KeyLagSetting& m_keyLag;
};

}  // namespace playback
