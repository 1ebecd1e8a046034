#pragma once

#include <string>

#include "lyrics/current_time_tag.h"
#include "lyrics/time_tag_source.h"

namespace testsupport {

// A time-tag source that gives whatever the test set, as a halted play clock does.
class FixedTimeTag : public lyrics::TimeTagSource {
 public:
  void set(std::string tag) { m_tag = std::move(tag); }
  std::string currentTag() override { return m_tag; }

 private:
  std::string m_tag = lyrics::kZeroTimeTag;
};

}  // namespace testsupport
