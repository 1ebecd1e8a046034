#pragma once

#include <string>

namespace lyrics {

// Where the stamping commands take the time from: the tag "[mm:ss.xx]" of the moment it is
// asked for. The play clock is the one source; it brings itself up to date on every read, so
// a command that stamps can never get the tag of the last tick instead.
class TimeTagSource {
 public:
  virtual ~TimeTagSource() = default;
  // The full time tag of this moment (10 bytes); it also becomes CurrentTimeTag.
  virtual std::string currentTag() = 0;
};

}  // namespace lyrics
