#pragma once

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "playback/audio_player.h"

namespace testsupport {

// A player that records its calls and reports whatever position the test sets.
class FakeAudioPlayer : public playback::AudioPlayer {
 public:
  explicit FakeAudioPlayer(std::vector<std::string>* log = nullptr) : m_log(log) {}
  void play(const std::string& path, double start, playback::PlaybackListener& l) override {
    record("play:" + path + "@" + std::to_string(static_cast<int>(start)));
    listener = &l;
  }
  void pause() override { record("pause"); }
  void resume() override { record("resume"); }
  // Moves only a playback it was given; the position stays whatever the test sets.
  std::optional<double> seek(double seconds) override {
    char text[32];
    std::snprintf(text, sizeof text, "seek:%.2f", seconds);
    record(text);
    if (listener == nullptr) return std::nullopt;
    return songSeconds ? std::min(seconds, *songSeconds) : seconds;
  }
  void stop() override {
    record("stop");
    listener = nullptr;
    position.reset();
  }
  void setSpeed(double value) override {
    record("speed:" + std::to_string(static_cast<int>(value * 100)));
    speed = value;
  }
  std::optional<playback::PositionSample> heardPosition() override { return position; }

  std::vector<std::string> calls;
  playback::PlaybackListener* listener = nullptr;
  std::optional<playback::PositionSample> position;
  double speed = 1.0;
  // The song's length, where a seek stops; unknown when unset.
  std::optional<double> songSeconds;

 private:
  void record(const std::string& call) {
    calls.push_back(call);
    if (m_log) m_log->push_back("player:" + call);
  }
  std::vector<std::string>* m_log;
};

}  // namespace testsupport
