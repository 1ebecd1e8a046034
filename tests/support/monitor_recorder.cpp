#include "support/monitor_recorder.h"

#include <pulse/pulseaudio.h>

#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

std::int64_t steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Short fragments keep the null sink's render blocks short, which bounds how early a block
// reaches the monitor before it is played.
constexpr int kFragmentMs = 2;
constexpr int kWaitMs = 5000;
constexpr std::int64_t kTimingIntervalNs = 10'000'000;
// Timing reports within this many frames either side of a grid point give its offset; their
// median ignores the odd report taken while the sink rewinds.
constexpr std::int64_t kAnchorReach = 22050;

struct SourceInfo {
  bool done = false;
  bool found = false;
  pa_sample_spec spec{};
  std::string sink;
};

void onSourceInfo(pa_context*, const pa_source_info* info, int eol, void* data) {
  auto* result = static_cast<SourceInfo*>(data);
  if (eol != 0) {
    result->done = true;
    return;
  }
  result->found = true;
  result->spec = info->sample_spec;
  if (info->monitor_of_sink_name != nullptr) result->sink = info->monitor_of_sink_name;
}

}  // namespace

std::int64_t Recording::frameNs(std::int64_t frame) const {
  std::int64_t offset = 0;
  if (!offsetNs.empty()) {
    // Linear between the grid points, flat beyond the ends.
    const std::int64_t last = static_cast<std::int64_t>(offsetNs.size()) - 1;
    const std::int64_t cell = std::clamp<std::int64_t>(frame / kGridFrames, 0, last);
    offset = offsetNs[static_cast<std::size_t>(cell)];
    if (cell < last && frame > cell * kGridFrames) {
      const std::int64_t next = offsetNs[static_cast<std::size_t>(cell + 1)];
      offset += (next - offset) * (frame - cell * kGridFrames) / kGridFrames;
    }
  }
  return offset + frame * 1'000'000'000 / rate;
}

std::int64_t Recording::frameAt(std::int64_t ns) const {
  if (rate <= 0) return 0;
  // The offset changes by microseconds per second, so a few steps settle it.
  std::int64_t frame = 0;
  for (int step = 0; step < 4; ++step) {
    const std::int64_t since = ns - (frameNs(frame) - frame * 1'000'000'000 / rate);
    frame = since <= 0 ? 0 : (since * rate + 999'999'999) / 1'000'000'000;
  }
  while (frame > 0 && frameNs(frame - 1) >= ns) --frame;
  while (frameNs(frame) < ns) ++frame;
  return frame;
}

MonitorRecorder::MonitorRecorder(std::string source) : m_source(std::move(source)) {}

MonitorRecorder::~MonitorRecorder() {
  stop();
  if (m_loop != nullptr) {
    pa_threaded_mainloop_stop(m_loop);
    if (m_context != nullptr) {
      pa_context_disconnect(m_context);
      pa_context_unref(m_context);
    }
    pa_threaded_mainloop_free(m_loop);
  }
}

bool MonitorRecorder::serverReachable() {
  pa_mainloop* loop = pa_mainloop_new();
  pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "reachability probe");
  bool ready = false;
  if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
    const auto deadline = steadyNs() + 3'000'000'000LL;
    while (steadyNs() < deadline) {
      const pa_context_state_t state = pa_context_get_state(context);
      if (state == PA_CONTEXT_READY) {
        ready = true;
        break;
      }
      if (!PA_CONTEXT_IS_GOOD(state)) break;
      pa_mainloop_iterate(loop, 0, nullptr);
      ::usleep(1000);
    }
  }
  pa_context_disconnect(context);
  pa_context_unref(context);
  pa_mainloop_free(loop);
  return ready;
}

void MonitorRecorder::onContextState(pa_context*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorRecorder*>(self)->m_loop, 0);
}

void MonitorRecorder::onStreamState(pa_stream*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorRecorder*>(self)->m_loop, 0);
}

void MonitorRecorder::onRead(pa_stream*, std::size_t bytes, void* self) {
  static_cast<MonitorRecorder*>(self)->read(bytes);
}

bool MonitorRecorder::start(std::string* error) {
  const auto fail = [error](const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  m_loop = pa_threaded_mainloop_new();
  m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "sink monitor recorder");
  pa_context_set_state_callback(m_context, &MonitorRecorder::onContextState, this);
  if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    return fail("no PulseAudio server");
  }
  pa_threaded_mainloop_lock(m_loop);
  pa_threaded_mainloop_start(m_loop);
  const std::int64_t deadline = steadyNs() + kWaitMs * 1'000'000LL;
  // Waits with the loop locked for `done`, polling every millisecond, until the deadline.
  const auto waitFor = [&](const auto& done) {
    while (!done() && steadyNs() < deadline) {
      pa_threaded_mainloop_unlock(m_loop);
      ::usleep(1000);
      pa_threaded_mainloop_lock(m_loop);
    }
    return done();
  };
  const bool connected = waitFor([&] {
    const pa_context_state_t state = pa_context_get_state(m_context);
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
  });
  if (!connected || pa_context_get_state(m_context) != PA_CONTEXT_READY) {
    pa_threaded_mainloop_unlock(m_loop);
    return fail("could not connect to the PulseAudio server");
  }

  const std::string source = m_source.empty() ? "@DEFAULT_MONITOR@" : m_source;
  SourceInfo info;
  pa_operation* query =
      pa_context_get_source_info_by_name(m_context, source.c_str(), &onSourceInfo, &info);
  waitFor([&] { return info.done; });
  if (query != nullptr) pa_operation_unref(query);
  if (!info.found) {
    pa_threaded_mainloop_unlock(m_loop);
    return fail("no source " + source);
  }
  m_sinkName = info.sink;
  // The source's own rate and channels: a resampler in the way would delay the recording.
  pa_sample_spec spec{PA_SAMPLE_S16LE, info.spec.rate, info.spec.channels};
  m_rate = static_cast<int>(spec.rate);
  m_channels = spec.channels;
  m_stream = pa_stream_new(m_context, "sink monitor", &spec, nullptr);
  pa_stream_set_state_callback(m_stream, &MonitorRecorder::onStreamState, this);
  pa_stream_set_read_callback(m_stream, &MonitorRecorder::onRead, this);
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentMs * 1000, &spec));
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
  if (pa_stream_connect_record(m_stream, source.c_str(), &attr, flags) < 0) {
    pa_threaded_mainloop_unlock(m_loop);
    return fail("could not record " + source);
  }
  const bool streaming = waitFor([&] {
    const pa_stream_state_t state = pa_stream_get_state(m_stream);
    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
  });
  const bool ready = streaming && pa_stream_get_state(m_stream) == PA_STREAM_READY;
  pa_threaded_mainloop_unlock(m_loop);
  if (!ready) return fail("the recording stream did not start");
  // Wait for the first data, so that the caller's sound is certainly recorded.
  const std::int64_t firstData = steadyNs() + kWaitMs * 1'000'000LL;
  while (steadyNs() < firstData) {
    {
      const std::lock_guard lock(m_mutex);
      if (m_level.size() > static_cast<std::size_t>(m_rate / 20)) return true;
    }
    ::usleep(1000);
  }
  return fail("the monitor delivered no data");
}

void MonitorRecorder::onTiming(pa_stream* stream, int success, void* self) {
  auto* recorder = static_cast<MonitorRecorder*>(self);
  recorder->m_timingPending = false;
  const pa_timing_info* info = success ? pa_stream_get_timing_info(stream) : nullptr;
  if (info == nullptr || info->write_index_corrupt) return;
  // The server's timestamp is wall-clock time; the offset to the steady clock is taken here.
  timespec wall{};
  ::clock_gettime(CLOCK_REALTIME, &wall);
  const std::int64_t steady = steadyNs();
  const std::int64_t wallNs = wall.tv_sec * 1'000'000'000LL + wall.tv_nsec;
  const std::int64_t infoNs =
      (info->timestamp.tv_sec * 1'000'000LL + info->timestamp.tv_usec) * 1000 - wallNs + steady;
  const std::int64_t frameBytes = recorder->m_channels * 2;
  const std::int64_t written = info->write_index / frameBytes;
  // The next frame the sink renders is played sink_usec from now; the frames up to the write
  // index plus those still on their way (source_usec) are rendered already.
  const std::int64_t playedNs = infoNs + static_cast<std::int64_t>(info->sink_usec) * 1000 -
                                static_cast<std::int64_t>(info->source_usec) * 1000;
  const std::lock_guard lock(recorder->m_mutex);
  recorder->m_anchors.push_back({written, playedNs});
}

void MonitorRecorder::read(std::size_t) {
  const std::int64_t arrivedNs = steadyNs();
  if (!m_timingPending && arrivedNs - m_lastTimingRequestNs > kTimingIntervalNs) {
    if (pa_operation* request =
            pa_stream_update_timing_info(m_stream, &MonitorRecorder::onTiming, this)) {
      pa_operation_unref(request);
      m_timingPending = true;
      m_lastTimingRequestNs = arrivedNs;
    }
  }
  for (;;) {
    const void* data = nullptr;
    std::size_t bytes = 0;
    if (pa_stream_peek(m_stream, &data, &bytes) < 0 || bytes == 0) break;
    const std::size_t frameBytes = static_cast<std::size_t>(m_channels) * 2;
    const std::size_t frames = bytes / frameBytes;
    const std::lock_guard lock(m_mutex);
    if (data == nullptr) {
      // A hole: the frames are gone, but keep the count so later frames keep their times.
      m_level.insert(m_level.end(), frames, 0.0f);
      m_lost += static_cast<std::int64_t>(frames);
    } else {
      const auto* samples = static_cast<const std::int16_t*>(data);
      for (std::size_t frame = 0; frame < frames; ++frame) {
        int loudest = 0;
        for (int channel = 0; channel < m_channels; ++channel) {
          loudest =
              std::max(loudest, std::abs(static_cast<int>(samples[frame * m_channels + channel])));
        }
        m_level.push_back(static_cast<float>(loudest) / 32768.0f);
      }
    }
    pa_stream_drop(m_stream);
  }
}

void MonitorRecorder::stop() {
  if (m_loop == nullptr || m_stream == nullptr) return;
  pa_threaded_mainloop_lock(m_loop);
  pa_stream_set_read_callback(m_stream, nullptr, nullptr);
  pa_stream_set_state_callback(m_stream, nullptr, nullptr);
  pa_stream_disconnect(m_stream);
  pa_stream_unref(m_stream);
  m_stream = nullptr;
  pa_threaded_mainloop_unlock(m_loop);
}

std::vector<float> MonitorRecorder::levelsFrom(std::int64_t fromFrame) const {
  const std::lock_guard lock(m_mutex);
  const auto first = static_cast<std::size_t>(std::max<std::int64_t>(0, fromFrame));
  if (first >= m_level.size()) return {};
  return {m_level.begin() + static_cast<std::ptrdiff_t>(first), m_level.end()};
}

std::optional<std::int64_t> MonitorRecorder::recentFrameNs(std::int64_t frame) const {
  const std::lock_guard lock(m_mutex);
  if (m_anchors.empty() || m_rate <= 0) return std::nullopt;
  // The median offset of the last few reports ignores one taken while the sink rewound.
  constexpr std::size_t kLatest = 15;
  std::vector<std::int64_t> offsets;
  for (std::size_t index = m_anchors.size() > kLatest ? m_anchors.size() - kLatest : 0;
       index < m_anchors.size(); ++index) {
    const auto& [anchorFrame, playedNs] = m_anchors[index];
    offsets.push_back(playedNs - anchorFrame * 1'000'000'000 / m_rate);
  }
  std::nth_element(offsets.begin(), offsets.begin() + offsets.size() / 2, offsets.end());
  return offsets[offsets.size() / 2] + frame * 1'000'000'000 / m_rate;
}

Recording MonitorRecorder::recording() const {
  const std::lock_guard lock(m_mutex);
  Recording result;
  result.rate = m_rate;
  result.level = m_level;
  result.lostFrames = m_lost;
  if (m_anchors.empty() || m_rate <= 0) return result;
  std::vector<std::pair<std::int64_t, std::int64_t>> anchors;  // frame, offset
  for (const auto& [frame, playedNs] : m_anchors) {
    anchors.push_back({frame, playedNs - frame * 1'000'000'000 / m_rate});
  }
  std::sort(anchors.begin(), anchors.end());
  const auto cells = static_cast<std::int64_t>(m_level.size()) / Recording::kGridFrames + 1;
  std::vector<std::int64_t> near;
  for (std::int64_t cell = 0; cell < cells; ++cell) {
    const std::int64_t frame = cell * Recording::kGridFrames;
    auto from = std::lower_bound(anchors.begin(), anchors.end(),
                                 std::pair{frame - kAnchorReach, INT64_MIN});
    auto to = std::lower_bound(anchors.begin(), anchors.end(),
                               std::pair{frame + kAnchorReach, INT64_MIN});
    // Near the ends of the recording, the nearest reports stand in.
    if (from == to) {
      from = std::lower_bound(anchors.begin(), anchors.end(), std::pair{frame, INT64_MIN});
      if (from == anchors.end()) --from;
      to = from + 1;
    }
    near.clear();
    for (auto it = from; it != to; ++it) near.push_back(it->second);
    std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
    result.offsetNs.push_back(near[near.size() / 2]);
  }
  return result;
}

}  // namespace testsupport
