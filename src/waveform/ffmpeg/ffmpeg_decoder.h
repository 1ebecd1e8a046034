#pragma once

#include "waveform/audio_decoder.h"

namespace waveform {

// Decodes a song with FFmpeg's libraries (opened at the first decode): the best audio stream,
// converted to interleaved floats and mixed into the envelope.
class FfmpegDecoder : public AudioDecoder {
 public:
  DecodeStatus decode(const std::string& nativePath, const DecodeSink& sink) override;
};

}  // namespace waveform
