#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "playback/audio_player.h"

struct mpv_handle;
struct mpv_event;

namespace playback {

// How the libmpv player sends audio out.
struct MpvPlayerOptions {
  // mpv's audio output ("null" for tests); empty means mpv's own choice.
  std::string audioOutput;
  // With "null" output: play as fast as the decoder can (tests only).
  bool untimed = false;
};

// The audio player on libmpv. mpv's events are drained on the thread that owns this object
// (the GUI thread): mpv's wakeup callback only posts a queued call, so every report reaches the
// listener as an ordinary event, one at a time.
class MpvAudioPlayer : public QObject, public AudioPlayer {
  Q_OBJECT

 public:
  using Options = MpvPlayerOptions;

  // The mpv core is created when first needed; isReady() creates it and tells whether that worked.
  explicit MpvAudioPlayer(Options options = {}, QObject* parent = nullptr);
  ~MpvAudioPlayer() override;

  // Creates the mpv core if it is not there yet; false when it could not be created or started.
  bool isReady();

  void play(const std::string& gbkPath, double startSeconds, PlaybackListener& listener) override;
  void pause() override;
  void resume() override;
  void stop() override;
  std::optional<PositionSample> lastPosition() const override;

  // mpv's own "time-pos" right now, in seconds (the benchmark's ground truth); nothing when idle.
  std::optional<double> currentTimePos() const;
  // Handles every queued mpv event; called through the wakeup callback's queued call.
  void drainEvents();

 private:
  struct HandleDeleter {
    void operator()(mpv_handle* handle) const;
  };

  void createCore();
  void handleEvent(const mpv_event& event);
  void reportPercent(double percent);
  void forgetPlayback();

  Options m_options;
  std::unique_ptr<mpv_handle, HandleDeleter> m_handle;
  bool m_startFailed = false;
  PlaybackListener* m_listener = nullptr;
  // The playlist entry of the current playback, once mpv has started it (-1 before).
  std::int64_t m_entryId = -1;
  // True once mpv has started that entry; earlier property changes belong to the old file.
  bool m_started = false;
  bool m_draining = false;
  int m_lastPercent = -1;
  bool m_paused = false;
  std::optional<PositionSample> m_position;
};

}  // namespace playback
