#include "playback/pulse/pulse_master_volume.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace playback {

namespace {

// The server resolves this name to its default sink at the moment a request arrives.
constexpr const char* kDefaultSink = "@DEFAULT_SINK@";

// Holds the libpulse thread's lock: callbacks only run while that thread holds it.
class LoopLock {
 public:
  explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(loop); }
  ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
  LoopLock(const LoopLock&) = delete;
  LoopLock& operator=(const LoopLock&) = delete;

 private:
  pa_threaded_mainloop* m_loop;
};

enum class Side { Left, Right, Middle };

Side sideOf(pa_channel_position_t position) {
  switch (position) {
    case PA_CHANNEL_POSITION_FRONT_LEFT:
    case PA_CHANNEL_POSITION_REAR_LEFT:
    case PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER:
    case PA_CHANNEL_POSITION_SIDE_LEFT:
    case PA_CHANNEL_POSITION_TOP_FRONT_LEFT:
    case PA_CHANNEL_POSITION_TOP_REAR_LEFT:
      return Side::Left;
    case PA_CHANNEL_POSITION_FRONT_RIGHT:
    case PA_CHANNEL_POSITION_REAR_RIGHT:
    case PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER:
    case PA_CHANNEL_POSITION_SIDE_RIGHT:
    case PA_CHANNEL_POSITION_TOP_FRONT_RIGHT:
    case PA_CHANNEL_POSITION_TOP_REAR_RIGHT:
      return Side::Right;
    default:
      return Side::Middle;
  }
}

platform::MasterVolume::Channels channelsOf(const pa_sink_info& sink) {
  const pa_channel_map& map = sink.channel_map;
  if (pa_channel_map_has_position(&map, PA_CHANNEL_POSITION_FRONT_LEFT) &&
      pa_channel_map_has_position(&map, PA_CHANNEL_POSITION_FRONT_RIGHT)) {
    return {pa_cvolume_get_position(&sink.volume, &map, PA_CHANNEL_POSITION_FRONT_LEFT),
            pa_cvolume_get_position(&sink.volume, &map, PA_CHANNEL_POSITION_FRONT_RIGHT)};
  }
  const pa_volume_t mean = pa_cvolume_avg(&sink.volume);
  return {mean, mean};
}

// Left channels get `left`, right ones `right`, centre, mono and the rest their mean.
pa_cvolume volumeFor(const pa_channel_map& map, platform::MasterVolume::Channels channels) {
  // PA_CLAMP_VOLUME uses a C extension that C++20 without GNU extensions lacks.
  const pa_volume_t left = std::min<pa_volume_t>(channels.left, PA_VOLUME_MAX);
  const pa_volume_t right = std::min<pa_volume_t>(channels.right, PA_VOLUME_MAX);
  const auto middle = static_cast<pa_volume_t>((std::uint64_t{left} + right) / 2);
  pa_cvolume volume;
  pa_cvolume_init(&volume);
  volume.channels = map.channels;
  for (unsigned channel = 0; channel < map.channels; ++channel) {
    switch (sideOf(map.map[channel])) {
      case Side::Left:
        volume.values[channel] = left;
        break;
      case Side::Right:
        volume.values[channel] = right;
        break;
      case Side::Middle:
        volume.values[channel] = middle;
        break;
    }
  }
  return volume;
}

void signalLoop(void* loop) {
  pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

}  // namespace

void PulseMasterVolume::LoopDeleter::operator()(pa_threaded_mainloop* loop) const {
  pa_threaded_mainloop_stop(loop);
  pa_threaded_mainloop_free(loop);
}

void PulseMasterVolume::ContextDeleter::operator()(pa_context* context) const {
  pa_context_set_state_callback(context, nullptr, nullptr);
  pa_context_disconnect(context);
  pa_context_unref(context);
}

PulseMasterVolume::PulseMasterVolume() : PulseMasterVolume(Timeouts{}) {}

PulseMasterVolume::PulseMasterVolume(Timeouts timeouts) : m_timeouts(timeouts) {}

PulseMasterVolume::~PulseMasterVolume() {
  if (m_loop && m_context) {
    LoopLock lock(m_loop.get());
    waitLocked([this] { return !m_sending || !contextReadyLocked(); }, m_timeouts.operation);
  }
  release();
}

bool PulseMasterVolume::bindMaster() {
  release();
  m_loop.reset(pa_threaded_mainloop_new());
  if (!m_loop || pa_threaded_mainloop_start(m_loop.get()) < 0) {
    release();
    return false;
  }
  {
    LoopLock lock(m_loop.get());
    m_bound = connectLocked() && readLocked().has_value();
  }
  if (!m_bound) release();
  return m_bound;
}

std::uint32_t PulseMasterVolume::maximum() const { return m_bound ? PA_VOLUME_NORM : 0; }

std::optional<platform::MasterVolume::Channels> PulseMasterVolume::volume() {
  if (!m_bound) return std::nullopt;
  LoopLock lock(m_loop.get());
  return readLocked();
}

bool PulseMasterVolume::setVolume(Channels channels) {
  if (!m_bound) return false;
  LoopLock lock(m_loop.get());
  if (!contextReadyLocked()) return false;
  m_wanted = channels;
  sendNextLocked();
  return true;
}

bool PulseMasterVolume::connectLocked() {
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop.get());
  m_context.reset(pa_context_new(api, "qinghe-lrc-editor"));
  if (!m_context) return false;
  pa_context_set_state_callback(m_context.get(), &PulseMasterVolume::onContextState, this);
  // The editor only adjusts a running server; it never starts one of its own.
  if (pa_context_connect(m_context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    return false;
  }
  waitLocked(
      [this] {
        const pa_context_state_t state = pa_context_get_state(m_context.get());
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
      },
      m_timeouts.connect);
  return contextReadyLocked();
}

std::optional<platform::MasterVolume::Channels> PulseMasterVolume::readLocked() {
  if (!contextReadyLocked()) return std::nullopt;
  struct Reading {
    pa_threaded_mainloop* loop;
    std::optional<Channels> channels;
  } reading{m_loop.get(), std::nullopt};
  pa_operation* operation = pa_context_get_sink_info_by_name(
      m_context.get(), kDefaultSink,
      [](pa_context*, const pa_sink_info* info, int eol, void* data) {
        auto* result = static_cast<Reading*>(data);
        if (eol == 0 && info) result->channels = channelsOf(*info);
        signalLoop(result->loop);
      },
      &reading);
  // `reading` stays valid: a cancelled operation calls nothing back.
  if (!finishLocked(operation)) return std::nullopt;
  return reading.channels;
}

bool PulseMasterVolume::contextReadyLocked() const {
  return m_context && pa_context_get_state(m_context.get()) == PA_CONTEXT_READY;
}

template <typename Done>
bool PulseMasterVolume::waitLocked(Done done, std::chrono::milliseconds timeout) {
  if (done()) return true;
  struct Alarm {
    pa_threaded_mainloop* loop;
    bool rang = false;
  } alarm{m_loop.get()};
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
  pa_time_event* event = pa_context_rttime_new(
      m_context.get(), pa_rtclock_now() + static_cast<pa_usec_t>(std::max<long long>(micros, 0)),
      [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
        auto* ringing = static_cast<Alarm*>(data);
        ringing->rang = true;
        signalLoop(ringing->loop);
      },
      &alarm);
  if (!event) return done();
  while (!done() && !alarm.rang) pa_threaded_mainloop_wait(m_loop.get());
  pa_threaded_mainloop_get_api(m_loop.get())->time_free(event);
  return done();
}

bool PulseMasterVolume::finishLocked(pa_operation* operation) {
  if (!operation) return false;
  const bool finished =
      waitLocked([operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; },
                 m_timeouts.operation);
  if (!finished) pa_operation_cancel(operation);
  const bool done = pa_operation_get_state(operation) == PA_OPERATION_DONE;
  pa_operation_unref(operation);
  return done;
}

void PulseMasterVolume::sendNextLocked() {
  if (m_sending || !m_wanted || !contextReadyLocked()) return;
  m_sending = m_wanted;
  m_wanted.reset();
  m_setIssued = false;
  // The sink's channel layout is looked up with each change, so a default sink that changed
  // since start-up still gets all its channels set.
  pa_operation* operation = pa_context_get_sink_info_by_name(
      m_context.get(), kDefaultSink, &PulseMasterVolume::onSinkForSet, this);
  if (!operation) {
    m_sending.reset();
    return;
  }
  pa_operation_unref(operation);
}

void PulseMasterVolume::sendFinishedLocked() {
  m_sending.reset();
  sendNextLocked();
  signalLoop(m_loop.get());
}

void PulseMasterVolume::release() {
  if (m_loop && m_context) {
    LoopLock lock(m_loop.get());
    m_context.reset();
  }
  m_context.reset();
  m_loop.reset();
  m_bound = false;
  m_wanted.reset();
  m_sending.reset();
}

void PulseMasterVolume::onContextState(pa_context*, void* self) {
  signalLoop(static_cast<PulseMasterVolume*>(self)->m_loop.get());
}

void PulseMasterVolume::onSinkForSet(pa_context* context, const pa_sink_info* info, int eol,
                                     void* self) {
  auto* volume = static_cast<PulseMasterVolume*>(self);
  if (eol == 0 && info && volume->m_sending && !volume->m_setIssued) {
    const pa_cvolume channels = volumeFor(info->channel_map, *volume->m_sending);
    pa_operation* operation = pa_context_set_sink_volume_by_index(
        context, info->index, &channels, &PulseMasterVolume::onSetDone, self);
    if (operation) {
      volume->m_setIssued = true;
      pa_operation_unref(operation);
    }
    return;
  }
  // No sink, or an error: this change is dropped.
  if (eol != 0 && !volume->m_setIssued) volume->sendFinishedLocked();
}

void PulseMasterVolume::onSetDone(pa_context*, int, void* self) {
  static_cast<PulseMasterVolume*>(self)->sendFinishedLocked();
}

}  // namespace playback
