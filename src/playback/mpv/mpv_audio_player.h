#pragma once

#include <QObject>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "playback/audio_player.h"
#include "playback/heard_position.h"

struct mpv_handle;
struct mpv_event;

namespace playback {

// How the libmpv player sends audio out.
struct MpvPlayerOptions {
  // mpv's audio outputs in the order tried ("null" for tests; empty means mpv's own order).
  // A desktop's sound server comes first: PulseAudio, which PipeWire desktops serve too; the
  // trailing comma lets mpv fall back on the outputs it has besides.
  std::string audioOutput = "pulse,";
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

  // The mpv core is created by prepare(), prepareInBackground() or when first needed, not with
  // the player.
  explicit MpvAudioPlayer(Options options = {}, QObject* parent = nullptr);
  ~MpvAudioPlayer() override;

  // Creates the mpv core if it is not there yet, or waits for the one being created in the
  // background; false when it could not be created or started.
  bool isReady();
  // Creates the mpv core ahead of the first song, so that Play sounds at once.
  void prepare() { isReady(); }
  // Starts creating the mpv core on a thread of its own, so that neither the window's first
  // paint nor a Play that comes early waits for all of it.
  void prepareInBackground();

  void play(const std::string& gbkPath, double startSeconds, PlaybackListener& listener) override;
  void pause() override;
  void resume() override;
  void stop() override;
  // mpv's own "speed", with mpv's time-stretching keeping the pitch. A playback under way
  // starts again where it is heard, so no sound stretched at the old speed is heard at the new.
  void setSpeed(double speed) override;
  // Seeks exactly ("seek <s> absolute+exact"); until mpv has restarted playback there, what it
  // says of the position still tells of before the jump, so the position holds at the target.
  std::optional<double> seek(double seconds) override;
  // The position the output plays now, read from mpv at this moment ("audio-pts", which mpv
  // corrects by the output's latency and has only while the output plays).
  std::optional<PositionSample> heardPosition() override;

  // mpv's own "time-pos" right now, in seconds (a reference for tests); nothing when idle.
  std::optional<double> currentTimePos() const;
  // Handles every queued mpv event; called through the wakeup callback's queued call.
  void drainEvents();

 private:
  struct HandleDeleter {
    void operator()(mpv_handle* handle) const;
  };

  // Creates and starts a core; nothing when mpv refused. Runs on any thread.
  static mpv_handle* createCore(const Options& options);
  void adoptCore(mpv_handle* handle);
  void handleEvent(const mpv_event& event);
  void reportPercent(double percent);
  void forgetPlayback();
  void applySpeed();

  Options m_options;
  std::unique_ptr<mpv_handle, HandleDeleter> m_handle;
  // The core being created in the background, until isReady() takes it.
  std::future<mpv_handle*> m_pendingCore;
  bool m_startFailed = false;
  PlaybackListener* m_listener = nullptr;
  // The playlist entry of the current playback, once mpv has started it (-1 before).
  std::int64_t m_entryId = -1;
  // True once mpv has started that entry; earlier property changes belong to the old file.
  bool m_started = false;
  // The current playback's path, to open it again where mpv cannot seek.
  std::string m_path;
  // A seek was sent and mpv has not restarted playback after it yet.
  bool m_seeking = false;
  // The next percentage goes on from where the jump went, not from the last one reported.
  bool m_percentJumped = false;
  bool m_draining = false;
  int m_lastPercent = -1;
  // What mpv was last told, so a pause or resume that changes nothing is not sent again; the
  // editor's own pause state is the playback controller's.
  bool m_paused = false;
  HeardPosition m_heard;
  double m_speed = 1.0;
  // The stretcher mpv was given ("af") and how far its position reads ahead of the sound.
  std::string m_filter;
  double m_stretchLag = 0.0;
};

}  // namespace playback
