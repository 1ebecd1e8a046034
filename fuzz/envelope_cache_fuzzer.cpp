// The envelope cache file's reader: whatever bytes a cache file holds, reading it never crashes
// and never trusts a count it cannot check; a file it accepts is one the writer would have made
// byte for byte for that song, with every level within range and the low one first. Each input
// is also tried with a right checksum, so the checks behind it are reached.
#include <string>

#include "fuzz_check.h"
#include "waveform/envelope_cache.h"

namespace {

const waveform::SongKey kKey{"/music/song.mp3", 4096, 1700000000000000000};

void checkRead(const std::string& bytes) {
  const auto peaks = waveform::EnvelopeCache::decode(bytes, kKey);
  if (!peaks) return;
  FUZZ_CHECK(peaks->size() * 2 <= bytes.size());
  for (const waveform::Peak& peak : *peaks) {
    FUZZ_CHECK(peak.low >= -127 && peak.low <= peak.high);
  }
  FUZZ_CHECK(waveform::EnvelopeCache::encode(kKey, *peaks) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string bytes(fuzzing::bytesOf(data, size));
  checkRead(bytes);
  waveform::EnvelopeCache::seal(bytes);
  checkRead(bytes);
  return 0;
}
