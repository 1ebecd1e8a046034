#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/master_volume.h"

namespace testsupport {

// A mixer whose channels and maximum the test sets; it records every volume it is given.
class FakeMasterVolume : public platform::MasterVolume {
 public:
  bool bindMaster() override {
    ++binds;
    m_bound = available;
    return m_bound;
  }
  std::uint32_t maximum() const override { return m_bound ? max : 0; }
  std::optional<Channels> volume() override {
    if (!m_bound) return std::nullopt;
    return channels;
  }
  bool setVolume(Channels wanted) override {
    sets.push_back(wanted);
    if (!m_bound) return false;
    channels = wanted;
    return true;
  }

  // Whether binding succeeds.
  bool available = true;
  std::uint32_t max = 65535;
  Channels channels;
  int binds = 0;
  // Every volume asked for, bound or not.
  std::vector<Channels> sets;

 private:
  bool m_bound = false;
};

}  // namespace testsupport
