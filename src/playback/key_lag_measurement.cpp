#include "playback/key_lag_measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "playback/play_clock.h"

namespace playback {

namespace {

// A tick: a 2 kHz tone that starts at full height and dies away within a few hundredths, so
// that it is heard at one clear moment.
constexpr double kTickHz = 2000.0;
constexpr double kTickSeconds = 0.04;
constexpr double kTickDecaySeconds = 0.008;
constexpr double kTickLevel = 0.7;

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
  for (int byte = 0; byte < size; ++byte) {
    bytes += static_cast<char>((value >> (8 * byte)) & 0xff);
  }
}

}  // namespace

KeyLagMeasurement::KeyLagMeasurement(PlaybackController& controller, AudioPlayer& player,
                                     const platform::MonotonicClock& clock)
    : m_controller(controller), m_player(player), m_clock(clock) {}

KeyLagMeasurement::~KeyLagMeasurement() { cancel(); }

std::vector<double> KeyLagMeasurement::planSounds(platform::RandomSource& random) {
  std::vector<double> onsets;
  int atMs = kLeadMs;
  for (int sound = 0; sound < kSounds; ++sound) {
    if (sound > 0) atMs += random.between(kShortestGapMs, kLongestGapMs);
    onsets.push_back(atMs / 1000.0);
  }
  return onsets;
}

std::string KeyLagMeasurement::soundFileBytes(const std::vector<double>& onsets) {
  const double lastSeconds = onsets.empty() ? 0.0 : onsets.back();
  const auto frames = static_cast<std::size_t>(
      std::llround((lastSeconds + kTailMs / 1000.0) * kSampleRate));
  std::vector<std::int16_t> samples(frames, 0);
  const auto tickFrames = static_cast<std::size_t>(kTickSeconds * kSampleRate);
  for (const double onset : onsets) {
    const auto first = static_cast<std::size_t>(std::llround(onset * kSampleRate));
    for (std::size_t frame = 0; frame < tickFrames && first + frame < frames; ++frame) {
      const double t = static_cast<double>(frame) / kSampleRate;
      const double value = kTickLevel * std::exp(-t / kTickDecaySeconds) *
                           std::sin(2.0 * std::numbers::pi * kTickHz * t);
      samples[first + frame] = static_cast<std::int16_t>(std::lround(value * 32767.0));
    }
  }
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string bytes = "RIFF";
  appendLittleEndian(bytes, 36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  appendLittleEndian(bytes, 16, 4);
  appendLittleEndian(bytes, 1, 2);  // PCM
  appendLittleEndian(bytes, 1, 2);  // one channel
  appendLittleEndian(bytes, kSampleRate, 4);
  appendLittleEndian(bytes, kSampleRate * 2, 4);
  appendLittleEndian(bytes, 2, 2);
  appendLittleEndian(bytes, 16, 2);
  bytes += "data";
  appendLittleEndian(bytes, dataBytes, 4);
  for (const std::int16_t sample : samples) {
    appendLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
  }
  return bytes;
}

void KeyLagMeasurement::start(const std::string& gbkPath, std::vector<double> onsets,
                              std::function<void()> finished) {
  if (m_outcome == Outcome::Measuring) return;
  m_onsets = std::move(onsets);
  m_presses.clear();
  m_finished = std::move(finished);
  m_outcome = Outcome::Measuring;
  m_songSeconds = m_controller.lendPlayer();
  m_player.play(gbkPath, 0.0, *this);
}

void KeyLagMeasurement::press(std::optional<std::int64_t> pressedNs) {
  if (m_outcome != Outcome::Measuring) return;
  // Read as a stamp reads the play clock: the position first, then the time it is carried to.
  const auto sample = m_player.heardPosition();
  if (!sample) return;
  const std::int64_t now = m_clock.nowNs();
  // A press that waited before it was handled counts where the sound was when it was made.
  const std::int64_t waited = pressedNs ? std::max<std::int64_t>(0, now - *pressedNs) : 0;
  const std::int64_t position = PlayClock::lessLag(sample->positionNsAt(now), waited, sample->rate);
  m_presses.push_back(static_cast<double>(position) / 1e9);
}

void KeyLagMeasurement::cancel() {
  if (m_outcome != Outcome::Measuring) return;
  m_outcome = Outcome::Cancelled;
  m_controller.takePlayerBack(m_songSeconds);
}

void KeyLagMeasurement::onPlayProgress(int percent) {
  if (percent >= 100) end(Outcome::Done);
}

void KeyLagMeasurement::onPlayError(PlayError error) {
  end(error == PlayError::NoAudioOutput ? Outcome::NoAudioOutput : Outcome::BadFile);
}

void KeyLagMeasurement::end(Outcome outcome) {
  if (m_outcome != Outcome::Measuring) return;
  m_outcome = outcome;
  m_controller.takePlayerBack(m_songSeconds);
  if (m_finished) m_finished();
}

}  // namespace playback
