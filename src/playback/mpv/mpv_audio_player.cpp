#include "playback/mpv/mpv_audio_player.h"

#include <mpv/client.h>

#include <QMetaObject>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "platform/file_io.h"
#include "platform/monotonic_clock.h"
#include "playback/mpv/time_stretch.h"
#include "playback/player_reports.h"

namespace playback {

namespace {

// Runs on one of mpv's threads: it may only post to the player's own thread.
void wakeup(void* context) {
  auto* player = static_cast<MpvAudioPlayer*>(context);
  QMetaObject::invokeMethod(
      player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
}

// Resets a flag when the scope ends, also when a listener throws.
struct FlagGuard {
  bool& flag;
  ~FlagGuard() { flag = false; }
};

}  // namespace

void MpvAudioPlayer::HandleDeleter::operator()(mpv_handle* handle) const {
  mpv_set_wakeup_callback(handle, nullptr, nullptr);
  mpv_terminate_destroy(handle);
}

MpvAudioPlayer::MpvAudioPlayer(Options options, QObject* parent)
    : QObject(parent), m_options(std::move(options)) {}

bool MpvAudioPlayer::isReady() {
  if (m_pendingCore.valid()) {
    adoptCore(m_pendingCore.get());
  } else if (!m_handle && !m_startFailed) {
    // mpv refuses to start unless numbers are formatted the C way; QApplication may have set
    // LC_NUMERIC from a Chinese locale.
    std::setlocale(LC_NUMERIC, "C");
    adoptCore(createCore(m_options));
  }
  return m_handle != nullptr;
}

void MpvAudioPlayer::prepareInBackground() {
  if (m_handle || m_startFailed || m_pendingCore.valid()) return;
  // The locale is the whole process's: it is set here, never on the core's thread.
  std::setlocale(LC_NUMERIC, "C");
  m_pendingCore = std::async(std::launch::async, &MpvAudioPlayer::createCore, m_options);
}

void MpvAudioPlayer::adoptCore(mpv_handle* handle) {
  m_handle.reset(handle);
  m_startFailed = handle == nullptr;
  if (handle == nullptr) return;
  mpv_observe_property(handle, 1, "percent-pos", MPV_FORMAT_DOUBLE);
  mpv_set_wakeup_callback(handle, &wakeup, this);
  // A speed chosen while the core was being made.
  if (m_speed != 1.0) applySpeed();
}

void MpvAudioPlayer::applySpeed() {
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.4f", m_speed);
  const TimeStretch stretch = timeStretchFor(m_speed);
  // A stretcher named in "af" takes the speed over, and mpv then inserts none of its own. Going
  // slow it is named before the speed is set, and back at 1.0 it goes after, so that mpv never
  // puts its own in on the way.
  if (stretch.filter.empty()) mpv_set_property_string(m_handle.get(), "speed", speed);
  if (stretch.filter != m_filter) {
    mpv_set_property_string(m_handle.get(), "af", stretch.filter.c_str());
    m_filter = stretch.filter;
  }
  if (!stretch.filter.empty()) mpv_set_property_string(m_handle.get(), "speed", speed);
  m_stretchLag = stretch.lagSeconds;
}

void MpvAudioPlayer::setSpeed(double speed) {
  if (!std::isfinite(speed) || speed <= 0.0 || speed == m_speed) return;
  // Where the song is heard now, at the old speed.
  const auto heard = heardPosition();
  const std::int64_t now = platform::SteadyClock::now();
  m_speed = speed;
  m_heard.setSpeed(speed);
  if (!m_handle) return;
  applySpeed();
  if (m_listener == nullptr || !m_started) return;
  // mpv's output still holds sound stretched at the old speed, while mpv counts it at the new
  // one: its position would run ahead after a slow-down. The sound starts again where the song
  // is heard now, and the position holds there until the new sound is heard.
  seek(heard ? heard->positionNsAt(now) / 1e9 : 0.0);
}

mpv_handle* MpvAudioPlayer::createCore(const Options& options) {
  mpv_handle* handle = mpv_create();
  if (handle == nullptr) return nullptr;
  const char* settings[][2] = {
      {"vo", "null"},
      {"video", "no"},
      {"audio-display", "no"},
      {"config", "no"},
      {"terminal", "no"},
      {"input-default-bindings", "no"},
      {"idle", "yes"},
      {"keep-open", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"osc", "no"},
      // With gapless audio mpv ends a file early and blocks the next loadfile.
      {"gapless-audio", "no"},
      // A speed other than 1 keeps the pitch (mpv's scaletempo2 time-stretching).
      {"audio-pitch-correction", "yes"},
      // Nothing is ever shown or looked up beside the song: no fonts to scan for the on-screen
      // display, no subtitle, cover or audio files to search in the song's folder, no scripts.
      {"sub-font-provider", "none"},
      {"osd-level", "0"},
      {"sub-auto", "no"},
      {"audio-file-auto", "no"},
      {"cover-art-auto", "no"},
      {"load-stats-overlay", "no"},
      {"load-osd-console", "no"},
      {"load-auto-profiles", "no"},
  };
  for (const auto& setting : settings) mpv_set_option_string(handle, setting[0], setting[1]);
  if (!options.audioOutput.empty()) {
    mpv_set_option_string(handle, "ao", options.audioOutput.c_str());
  }
  if (options.untimed) mpv_set_option_string(handle, "ao-null-untimed", "yes");
  if (mpv_initialize(handle) < 0) {
    mpv_terminate_destroy(handle);
    return nullptr;
  }
  return handle;
}

MpvAudioPlayer::~MpvAudioPlayer() {
  // A core still being created is taken and then destroyed with the player.
  if (m_pendingCore.valid()) m_handle.reset(m_pendingCore.get());
}

void MpvAudioPlayer::play(const std::string& gbkPath, double startSeconds,
                          PlaybackListener& listener) {
  if (!isReady()) {
    listener.onPlayError(PlayError::NoAudioOutput);
    return;
  }
  forgetPlayback();
  std::string path = platform::nativePath(gbkPath);
  // A relative name such as "x://y" would otherwise be taken for a protocol.
  if (path.empty() || path.front() != '/') path = "./" + path;
  char start[32];
  std::snprintf(start, sizeof start, "%.3f", std::max(0.0, startSeconds));
  mpv_set_property_string(m_handle.get(), "start", start);
  // The pause state outlives a file in mpv; a new playback always plays.
  mpv_set_property_string(m_handle.get(), "pause", "no");
  m_paused = false;

  const char* command[] = {"loadfile", path.c_str(), "replace", nullptr};
  mpv_node result{};
  if (mpv_command_ret(m_handle.get(), command, &result) < 0) {
    listener.onPlayError(PlayError::BadFile);
    return;
  }
  if (result.format == MPV_FORMAT_NODE_MAP) {
    for (int i = 0; i < result.u.list->num; ++i) {
      if (std::string_view(result.u.list->keys[i]) == "playlist_entry_id" &&
          result.u.list->values[i].format == MPV_FORMAT_INT64) {
        m_entryId = result.u.list->values[i].u.int64;
      }
    }
  }
  mpv_free_node_contents(&result);
  m_listener = &listener;
  m_path = gbkPath;
  // mpv knows the start position at once, but nothing is heard until its output plays.
  m_heard.start(startSeconds, platform::SteadyClock::now());
}

void MpvAudioPlayer::pause() {
  if (!m_handle || m_listener == nullptr || m_paused) return;
  // The position holds where it is heard at the moment of the pause.
  heardPosition();
  mpv_set_property_string(m_handle.get(), "pause", "yes");
  m_paused = true;
  m_heard.pause(platform::SteadyClock::now());
}

void MpvAudioPlayer::resume() {
  if (!m_handle || m_listener == nullptr || !m_paused) return;
  mpv_set_property_string(m_handle.get(), "pause", "no");
  m_paused = false;
  // It moves again once the output does, not at the command.
  m_heard.resume();
}

void MpvAudioPlayer::stop() {
  if (!m_handle) return;
  forgetPlayback();
  const char* command[] = {"stop", nullptr};
  mpv_command(m_handle.get(), command);
}

std::optional<double> MpvAudioPlayer::seek(double seconds) {
  if (!m_handle || m_listener == nullptr) return std::nullopt;
  double target = validPosition(seconds).value_or(0.0);
  // A paused song sought past its end would stand there showing a time the song does not have.
  double duration = 0.0;
  if (mpv_get_property(m_handle.get(), "duration", MPV_FORMAT_DOUBLE, &duration) >= 0 &&
      std::isfinite(duration) && duration > 0.0) {
    // A tenth before it, so that a sliver is left to play: sought to the very end, mpv
    // sometimes never ends the file.
    target = std::min(target, std::max(0.0, duration - 0.1));
  }
  char position[32];
  std::snprintf(position, sizeof position, "%.3f", target);
  const char* command[] = {"seek", position, "absolute+exact", nullptr};
  // Before mpv has started the file there is nothing to seek in; it is opened there instead.
  if (!m_started || mpv_command(m_handle.get(), command) < 0) {
    const bool paused = m_paused;
    const std::string path = m_path;
    play(path, target, *m_listener);
    if (paused) pause();
    return target;
  }
  m_seeking = true;
  m_percentJumped = true;
  m_heard.jump(target, platform::SteadyClock::now());
  return target;
}

std::optional<PositionSample> MpvAudioPlayer::heardPosition() {
  if (!m_handle || m_listener == nullptr) return std::nullopt;
  // Before mpv has started this playback's file, or restarted it after a seek, its properties
  // still describe where it was before.
  if (m_started && !m_seeking) {
    double seconds = 0.0;
    const bool playing =
        mpv_get_property(m_handle.get(), "audio-pts", MPV_FORMAT_DOUBLE, &seconds) >= 0;
    // mpv works the value out once its core takes the request, which on a busy machine can be
    // late in the call: taking it as of the call's end may lag a little, but never runs ahead.
    const std::int64_t at = platform::SteadyClock::now();
    if (playing) {
      m_heard.report(seconds - m_stretchLag, at);
    } else {
      m_heard.outputStopped(at);
    }
  }
  return m_heard.sample();
}

std::optional<double> MpvAudioPlayer::currentTimePos() const {
  double seconds = 0.0;
  if (!m_handle || mpv_get_property(m_handle.get(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0) {
    return std::nullopt;
  }
  return seconds;
}

void MpvAudioPlayer::forgetPlayback() {
  m_listener = nullptr;
  m_entryId = -1;
  m_started = false;
  m_seeking = false;
  m_percentJumped = false;
  m_lastPercent = -1;
  m_heard.clear();
}

void MpvAudioPlayer::drainEvents() {
  // A listener may open a modal box whose event loop runs queued drains; those wait for this one.
  if (!m_handle || m_draining) return;
  m_draining = true;
  const FlagGuard guard{m_draining};
  for (;;) {
    const mpv_event* event = mpv_wait_event(m_handle.get(), 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    handleEvent(*event);
  }
}

void MpvAudioPlayer::handleEvent(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
      const auto* start = static_cast<const mpv_event_start_file*>(event.data);
      if (m_listener != nullptr && start->playlist_entry_id == m_entryId) m_started = true;
      break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
      if (m_listener != nullptr && m_started) m_seeking = false;
      break;
    case MPV_EVENT_PROPERTY_CHANGE: {
      if (m_listener == nullptr || !m_started || m_seeking) break;
      const auto* property = static_cast<const mpv_event_property*>(event.data);
      if (property->format != MPV_FORMAT_DOUBLE) break;
      const double value = *static_cast<const double*>(property->data);
      if (event.reply_userdata == 1) reportPercent(value);
      break;
    }
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      if (m_listener == nullptr || end->playlist_entry_id != m_entryId) break;
      PlaybackListener* listener = m_listener;
      if (end->reason == MPV_END_FILE_REASON_EOF) {
        // Every whole percentage is reported once: the steps mpv did not notify come now.
        const std::int64_t entry = m_entryId;
        reportPercent(99.0);
        if (m_listener != listener || m_entryId != entry) break;
        forgetPlayback();
        listener->onPlayProgress(100);
      } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
        forgetPlayback();
        listener->onPlayError(end->error == MPV_ERROR_AO_INIT_FAILED ? PlayError::NoAudioOutput
                                                                     : PlayError::BadFile);
      }
      break;
    }
    default:
      break;
  }
}

void MpvAudioPlayer::reportPercent(double percent) {
  const auto whole = wholePercent(percent);
  if (!whole) return;
  // mpv skips percentages and may touch 100 before the end: report each whole step in order,
  // and keep 100 for the end of the file.
  if (m_percentJumped) {
    m_percentJumped = false;
    if (*whole != m_lastPercent) m_lastPercent = *whole - 1;
  }
  PlaybackListener* listener = m_listener;
  const std::int64_t entry = m_entryId;
  // A listener that stops or restarts the song ends this playback's reports.
  while (m_lastPercent < *whole && m_listener == listener && m_entryId == entry) {
    ++m_lastPercent;
    listener->onPlayProgress(m_lastPercent);
  }
}

}  // namespace playback
