// The time tag of the play clock: always ten bytes "[mm:ss.xx]" of decimal digits, and read
// back it gives the time it was made from (minutes counted modulo 100).
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "playback/play_clock.h"

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

std::int64_t twoDigits(const std::string& tag, std::size_t at) {
  return (tag[at] - '0') * 10 + (tag[at + 1] - '0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, size < sizeof raw ? size : sizeof raw);
  // Elapsed play time is never negative: positions and the stopwatch both start at zero.
  const auto hundredths = static_cast<std::int64_t>(raw >> 1);

  const std::string tag = playback::PlayClock::timeTag(hundredths);
  FUZZ_CHECK(tag.size() == 10);
  FUZZ_CHECK(tag[0] == '[' && tag[3] == ':' && tag[6] == '.' && tag[9] == ']');
  for (const std::size_t at : {1u, 2u, 4u, 5u, 7u, 8u}) FUZZ_CHECK(digit(tag[at]));
  const std::int64_t minutes = twoDigits(tag, 1);
  const std::int64_t seconds = twoDigits(tag, 4);
  const std::int64_t fraction = twoDigits(tag, 7);
  FUZZ_CHECK(seconds < 60);
  FUZZ_CHECK(minutes * 6000 + seconds * 100 + fraction == hundredths % (100 * 6000));
  return 0;
}
