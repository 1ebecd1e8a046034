#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/monotonic_clock.h"
#include "platform/random_source.h"
#include "playback/audio_player.h"
#include "playback/key_lag_figures.h"
#include "playback/playback_controller.h"

namespace playback {

// One measurement of the user's key lag: short sounds at irregular gaps, played at 1.0x through
// the song's own player and sound output, and the user's presses that answer them. A press is
// read on the heard position of the sounds, the same clock a stamp reads, so the lag it gives
// is the lag a stamp carries. The song lends the player for it and gets it back paused where
// it stood. Runs on the GUI thread only.
class KeyLagMeasurement : public PlaybackListener {
 public:
  static constexpr int kSounds = 12;
  static constexpr int kShortestGapMs = 700;
  static constexpr int kLongestGapMs = 1800;
  // Quiet before the first sound, while the output starts, and after the last one, while it
  // may still be answered.
  static constexpr int kLeadMs = 1000;
  static constexpr int kTailMs = 1000;
  // Frames per second of the sound file.
  static constexpr int kSampleRate = 44100;

  // Where a measurement stands.
  enum class Outcome { NotStarted, Measuring, Done, NoAudioOutput, BadFile, Cancelled };

  // `controller` lends `player`, its own player; `clock` is the steady clock the player's
  // positions are taken on. All must outlive the measurement.
  KeyLagMeasurement(PlaybackController& controller, AudioPlayer& player,
                    const platform::MonotonicClock& clock);
  // Cancels a measurement under way.
  ~KeyLagMeasurement() override;
  KeyLagMeasurement(const KeyLagMeasurement&) = delete;
  KeyLagMeasurement& operator=(const KeyLagMeasurement&) = delete;

  // Where the kSounds sounds of one measurement start, in seconds from the start of the file:
  // kLeadMs, then gaps drawn from kShortestGapMs..kLongestGapMs.
  static std::vector<double> planSounds(platform::RandomSource& random);
  // The bytes of a WAV file (16-bit mono PCM at kSampleRate) with a short tick at each of
  // `onsets`, ending kTailMs after the last one.
  static std::string soundFileBytes(const std::vector<double>& onsets);

  // Plays the sound file at `gbkPath`, whose sounds start at `onsets`; `finished` runs once
  // when the sounds have ended or could not be played, with the song already given back.
  void start(const std::string& gbkPath, std::vector<double> onsets,
             std::function<void()> finished);
  // The user pressed the key at `pressedNs` (the steady clock; empty: now): counted at the
  // position heard then. Only while measuring.
  void press(std::optional<std::int64_t> pressedNs = std::nullopt);
  // Stops the sounds and gives the song back; nothing counts. Only while measuring.
  void cancel();

  Outcome outcome() const { return m_outcome; }
  // How many presses came while measuring.
  int presses() const { return static_cast<int>(m_presses.size()); }
  // What the presses tell, matched to the sounds.
  KeyLagFigures figures() const { return KeyLagFigures::match(m_onsets, m_presses); }

  // The sounds' player reports: at 100 the sounds have ended.
  void onPlayProgress(int percent) override;
  // The sounds could not be played.
  void onPlayError(PlayError error) override;

 private:
  void end(Outcome outcome);

  PlaybackController& m_controller;
  AudioPlayer& m_player;
  const platform::MonotonicClock& m_clock;
  Outcome m_outcome = Outcome::NotStarted;
  std::optional<double> m_songSeconds;
  std::vector<double> m_onsets;
  std::vector<double> m_presses;
  std::function<void()> m_finished;
};

}  // namespace playback
