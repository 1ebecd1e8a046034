#pragma once

#include <functional>
#include <string>
#include <vector>

#include "waveform/envelope.h"

namespace waveform {

// How a decode ended.
enum class DecodeStatus { Ok, Missing, Unreadable, Cancelled };

// Where a decoder hands what it finds, on the thread it decodes on.
struct DecodeSink {
  // The song's length in seconds as the file states it (0 when it does not), before any peaks.
  std::function<void(double seconds)> started;
  // The next buckets of the envelope; returning false cancels the decode.
  std::function<bool(std::vector<Peak> peaks)> peaks;
};

// Decodes a song into its peak envelope.
class AudioDecoder {
 public:
  virtual ~AudioDecoder() = default;
  // Decodes the file at `nativePath` (the file system's bytes) to its end, handing the buckets
  // to `sink` as they are made, a few seconds of sound at a time.
  virtual DecodeStatus decode(const std::string& nativePath, const DecodeSink& sink) = 0;
};

}  // namespace waveform
