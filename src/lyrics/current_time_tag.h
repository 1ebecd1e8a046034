#pragma once

#include <string>

namespace lyrics {

// The program-wide full-form time tag "[mm:ss.xx]" that the play clock writes and the tagging
// commands read. It keeps its last value while the clock is halted.
class CurrentTimeTag {
 public:
  // The tag's text (10 bytes).
  const std::string& value() const { return m_value; }
  // Replaces the tag (the play clock calls this on every tick).
  void set(std::string value) { m_value = std::move(value); }

 private:
  std::string m_value = "[00:00.00]";
};

}  // namespace lyrics
