#include <gtest/gtest.h>

#include <fstream>

#include "support/click_track.h"
#include "support/temp_dir.h"
#include "waveform/envelope_cache.h"
#include "waveform/ffmpeg/ffmpeg_decoder.h"

namespace {

// Decodes `path` into an envelope, as the window's loader does.
waveform::DecodeStatus decodeInto(const std::string& path, waveform::Envelope& envelope,
                                  double* stated = nullptr) {
  waveform::DecodeSink sink;
  sink.started = [&](double seconds) {
    if (stated) *stated = seconds;
  };
  sink.peaks = [&](std::vector<waveform::Peak> peaks) {
    envelope.append(peaks);
    return true;
  };
  return waveform::FfmpegDecoder().decode(path, sink);
}

}  // namespace

// A click track decoded for real: loud at each click, quiet (only the soft tone) between them,
// the whole song covered, and its length stated before any peaks.
TEST(Envelope, ClickTrackPeaksAtTheClicksAndQuietBetween) {
  testsupport::TempDir dir;
  const std::string song = dir.file("clicks.mp3");
  ASSERT_TRUE(testsupport::ClickTrack::write(song, 6));
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(song);
  ASSERT_EQ(onsets.size(), 6u);

  waveform::Envelope envelope;
  double stated = 0;
  ASSERT_EQ(decodeInto(song, envelope, &stated), waveform::DecodeStatus::Ok);
  EXPECT_NEAR(stated, 6.0, 0.1);
  EXPECT_NEAR(envelope.seconds(), 6.0, 0.1);
  const float loud = testsupport::ClickTrack::kClickLevel * 0.7f;
  const float quiet = testsupport::ClickTrack::kToneLevel * 1.5f;
  for (double onset : onsets) {
    const auto [low, high] = envelope.range(onset, onset + 0.005);
    EXPECT_GT(high, loud) << "click at " << onset;
    EXPECT_LT(low, -loud) << "click at " << onset;
    const auto [betweenLow, betweenHigh] = envelope.range(onset + 0.05, onset + 0.95);
    EXPECT_LT(betweenHigh, quiet) << "after the click at " << onset;
    EXPECT_GT(betweenLow, -quiet) << "after the click at " << onset;
    EXPECT_GT(betweenHigh, 0.02f) << "the tone after " << onset;
  }
}

// A file that is not sound, and one that is not there: the decoder says which.
TEST(Envelope, UnreadableAndMissingFilesAreTold) {
  testsupport::TempDir dir;
  std::ofstream(dir.file("noise.mp3")) << "this is no mp3 at all, only text\n";
  waveform::Envelope envelope;
  EXPECT_EQ(decodeInto(dir.file("noise.mp3"), envelope), waveform::DecodeStatus::Unreadable);
  EXPECT_EQ(decodeInto(dir.file("gone.mp3"), envelope), waveform::DecodeStatus::Missing);
  EXPECT_EQ(envelope.size(), 0u);
}

// The cache file gives back exactly what was stored for its song, and nothing for another song,
// a changed file, or any damage.
TEST(EnvelopeCache, GivesBackOnlySoundFilesOfTheSameSong) {
  const waveform::SongKey key{"/music/a.mp3", 1234, 5678};
  const std::vector<waveform::Peak> peaks = {{-3, 5}, {-127, 127}, {0, 0}};
  const std::string bytes = waveform::EnvelopeCache::encode(key, peaks);
  EXPECT_EQ(waveform::EnvelopeCache::decode(bytes, key), peaks);

  struct Case {
    const char* what;
    std::string bytes;
    waveform::SongKey key;
  };
  std::string flipped = bytes;
  flipped[bytes.size() - 12] ^= 1;
  // A peak whose low lies above its high, with a checksum that matches: still refused.
  const std::string inverted = waveform::EnvelopeCache::encode(key, {{5, -3}, {0, 0}});
  const Case cases[] = {
      {"another song", bytes, {"/music/b.mp3", 1234, 5678}},
      {"the file grew", bytes, {"/music/a.mp3", 1235, 5678}},
      {"the file changed", bytes, {"/music/a.mp3", 1234, 5679}},
      {"a flipped bit", flipped, key},
      {"cut short", bytes.substr(0, bytes.size() - 1), key},
      {"a byte more", bytes + "x", key},
      {"empty", "", key},
      {"low above high", inverted, key},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(waveform::EnvelopeCache::decode(c.bytes, c.key)) << c.what;
  }

  // Stored and loaded through the folder, which is made on the way.
  testsupport::TempDir dir;
  const waveform::EnvelopeCache cache(dir.file("cache/qinghe-lrc-editor"));
  ASSERT_TRUE(cache.store(key, peaks));
  EXPECT_EQ(cache.load(key), peaks);
  EXPECT_FALSE(cache.load({"/music/a.mp3", 1234, 1}));
}
