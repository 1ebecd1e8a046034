#include "waveform/envelope.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace waveform {

namespace {

std::int8_t level(float value) {
  return static_cast<std::int8_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 127.0f));
}

}  // namespace

std::pair<float, float> Envelope::range(double from, double to) const {
  if (m_peaks.empty() || !(to > 0) || !(from < seconds())) return {0.0f, 0.0f};
  const auto first = static_cast<std::size_t>(std::max(0.0, std::floor(from * kBucketsPerSecond)));
  std::size_t last = static_cast<std::size_t>(std::max(0.0, std::ceil(to * kBucketsPerSecond)));
  last = std::clamp(last, first + 1, m_peaks.size());
  int low = 127;
  int high = -127;
  for (std::size_t i = first; i < last; ++i) {
    low = std::min<int>(low, m_peaks[i].low);
    high = std::max<int>(high, m_peaks[i].high);
  }
  return {low / 127.0f, high / 127.0f};
}

EnvelopeBuilder::EnvelopeBuilder(int sampleRate, int channels)
    : m_rate(std::max(sampleRate, 1)),
      m_channels(std::max(channels, 1)),
      m_bucketEnd(m_rate / Envelope::kBucketsPerSecond) {}

void EnvelopeBuilder::add(const float* samples, std::size_t frames) {
  for (std::size_t f = 0; f < frames; ++f) {
    float sum = 0;
    for (int c = 0; c < m_channels; ++c) sum += samples[f * m_channels + c];
    float mixed = sum / static_cast<float>(m_channels);
    if (!std::isfinite(mixed)) mixed = 0;
    if (m_frame >= m_bucketEnd) close();
    if (!m_any) {
      m_low = m_high = mixed;
      m_any = true;
    } else {
      m_low = std::min(m_low, mixed);
      m_high = std::max(m_high, mixed);
    }
    ++m_frame;
  }
}

void EnvelopeBuilder::close() {
  m_done.push_back({level(m_low), level(m_high)});
  m_any = false;
  ++m_bucket;
  // Bucket k ends at frame (k + 1) * rate / 200 exactly, so no rounding drifts over a song.
  m_bucketEnd = (m_bucket + 1) * m_rate / Envelope::kBucketsPerSecond;
}

void EnvelopeBuilder::finish() {
  if (m_any) close();
}

std::vector<Peak> EnvelopeBuilder::take() { return std::exchange(m_done, {}); }

}  // namespace waveform
