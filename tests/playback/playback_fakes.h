#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/interval_timer.h"
#include "platform/monotonic_clock.h"
#include "playback/audio_player.h"

// Controllable stand-ins for the playback collaborators. Each may write what happens to it
// into a shared log, so tests can check the order of effects.
namespace playbacktest {

using Log = std::vector<std::string>;

// A timer that only remembers its interval.
class FakeTimer : public platform::IntervalTimer {
 public:
  explicit FakeTimer(Log* log = nullptr) : m_log(log) {}
  void setInterval(int milliseconds) override {
    m_interval = milliseconds < 0 ? 0 : milliseconds;
    if (m_log) m_log->push_back("timer:" + std::to_string(m_interval));
  }
  int interval() const override { return m_interval; }

 private:
  Log* m_log;
  int m_interval = 0;
};

// A monotonic clock moved by hand.
class FakeClock : public platform::MonotonicClock {
 public:
  std::int64_t nowNs() const override { return now; }
  void advanceMs(double ms) { now += static_cast<std::int64_t>(ms * 1e6); }
  std::int64_t now = 1'000'000'000;
};

// A player that records its calls and reports whatever position the test sets.
class FakePlayer : public playback::AudioPlayer {
 public:
  explicit FakePlayer(Log* log = nullptr) : m_log(log) {}
  void play(const std::string& path, double start, playback::PlaybackListener& l) override {
    record("play:" + path + "@" + std::to_string(static_cast<int>(start)));
    listener = &l;
  }
  void pause() override { record("pause"); }
  void resume() override { record("resume"); }
  void stop() override {
    record("stop");
    listener = nullptr;
    position.reset();
  }
  std::optional<playback::PositionSample> heardPosition() override { return position; }

  std::vector<std::string> calls;
  playback::PlaybackListener* listener = nullptr;
  std::optional<playback::PositionSample> position;

 private:
  void record(const std::string& call) {
    calls.push_back(call);
    if (m_log) m_log->push_back("player:" + call);
  }
  Log* m_log;
};

// Remembers the last text put on the clipboard.
class RecordingClipboard : public platform::Clipboard {
 public:
  void setText(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

}  // namespace playbacktest
