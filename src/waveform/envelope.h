#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace waveform {

// The lowest and highest sample of one bucket of the song, in 1/127 of full scale.
struct Peak {
  std::int8_t low = 0;
  std::int8_t high = 0;
  bool operator==(const Peak&) const = default;
};

// The peak envelope of a song: one Peak per 5 ms of sound, both channels mixed. Small enough to
// keep whole (a ten-minute song is 240 KB) and to draw any zoom from.
class Envelope {
 public:
  static constexpr int kBucketsPerSecond = 200;

  // Number of buckets so far.
  std::size_t size() const { return m_peaks.size(); }
  // Seconds of sound the buckets cover.
  double seconds() const { return static_cast<double>(m_peaks.size()) / kBucketsPerSecond; }
  const std::vector<Peak>& peaks() const { return m_peaks; }
  // Counts every change, so that a picture drawn from the envelope knows when it is out of date.
  std::uint64_t revision() const { return m_revision; }
  // Adds the buckets that follow.
  void append(std::span<const Peak> peaks) {
    m_peaks.insert(m_peaks.end(), peaks.begin(), peaks.end());
    ++m_revision;
  }
  void clear() {
    m_peaks.clear();
    ++m_revision;
  }
  // The lowest and highest level over [from, to) seconds, as -1..1; a range beyond the buckets
  // or shorter than one bucket still covers the bucket at `from`, if there is one.
  std::pair<float, float> range(double from, double to) const;

 private:
  std::vector<Peak> m_peaks;
  std::uint64_t m_revision = 0;
};

// Turns decoded samples into buckets of 5 ms: each channel's samples are mixed (their mean) and
// the lowest and highest mixed value of a bucket kept.
class EnvelopeBuilder {
 public:
  // `sampleRate` frames per second of `channels` interleaved samples.
  EnvelopeBuilder(int sampleRate, int channels);
  // Takes `frames` interleaved frames of floats in -1..1.
  void add(const float* samples, std::size_t frames);
  // Closes the last, partial bucket.
  void finish();
  // The buckets completed since the last take.
  std::vector<Peak> take();
  // Buckets waiting to be taken.
  std::size_t pending() const { return m_done.size(); }

 private:
  void close();

  std::int64_t m_rate;
  int m_channels;
  std::int64_t m_frame = 0;
  std::int64_t m_bucket = 0;
  std::int64_t m_bucketEnd;
  float m_low = 0;
  float m_high = 0;
  bool m_any = false;
  std::vector<Peak> m_done;
};

}  // namespace waveform
