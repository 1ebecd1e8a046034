#pragma once

#include <string>

namespace lyrics {

// The time tag of a clock at zero, before anything has played.
inline constexpr const char* kZeroTimeTag = "[00:00.00]";

// The program-wide full-form time tag "[mm:ss.xx]" that the play clock writes and the tagging
// commands read. It keeps its last value while the clock is halted.
class CurrentTimeTag {
 public:
  // The tag's text (10 bytes).
  const std::string& value() const { return m_value; }
  // Replaces the tag (the play clock calls this on every tick).
  void set(std::string value) { m_value = std::move(value); }

 private:
  std::string m_value = kZeroTimeTag;
};

}  // namespace lyrics
