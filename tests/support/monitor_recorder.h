#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace testsupport {

// What a sink's monitor recorded: one level per frame, and when each frame was played.
struct Recording {
  // Frames per second, as the sink counts them.
  int rate = 0;
  // Loudest channel of every frame, 0..1 of full scale.
  std::vector<float> level;
  // Every kGridFrames frames, (steady time at which the frame was played) - frame / rate, in
  // nanoseconds. A sink's clock drifts a little against the steady clock, so this is no constant.
  std::vector<std::int64_t> offsetNs;
  static constexpr std::int64_t kGridFrames = 4410;
  // Frames lost by the recording; a recording with losses cannot be trusted.
  std::int64_t lostFrames = 0;

  // steady_clock time at which `frame` was played.
  std::int64_t frameNs(std::int64_t frame) const;
  // The first frame played at or after `ns`.
  std::int64_t frameAt(std::int64_t ns) const;
};

// Records a PulseAudio source, normally the monitor of the sink the player plays to, at the
// source's own rate and channels, and maps every recorded frame to the steady clock.
//
// When a frame was played comes from the server's timing reports, taken every 10 ms: at the
// report's time the sink had rendered every frame up to the write index plus those on their
// way (source latency), and the next frame plays after the sink's latency. The monitor holds
// data back until the sink can no longer rewind it, so what is recorded is what was played.
class MonitorRecorder {
 public:
  // `source` is a PulseAudio source name; empty means the default sink's monitor.
  explicit MonitorRecorder(std::string source = {});
  ~MonitorRecorder();
  MonitorRecorder(const MonitorRecorder&) = delete;
  MonitorRecorder& operator=(const MonitorRecorder&) = delete;

  // True when a PulseAudio server answers on the default address.
  static bool serverReachable();

  // Connects and starts recording; waits at most 5 s. On failure says why in `error`.
  bool start(std::string* error);
  // Ends the recording.
  void stop();
  // What was recorded so far.
  Recording recording() const;
  // The levels of the frames recorded from `fromFrame` on, the first one being `fromFrame`:
  // for following the sound while it plays without copying all of it again.
  std::vector<float> levelsFrom(std::int64_t fromFrame) const;
  // When `frame`, recorded moments ago, was played, from the latest timing reports; nothing
  // before the first report.
  std::optional<std::int64_t> recentFrameNs(std::int64_t frame) const;
  // The name of the sink whose monitor is recorded (empty before start).
  const std::string& sinkName() const { return m_sinkName; }

 private:
  static void onContextState(pa_context* context, void* self);
  static void onStreamState(pa_stream* stream, void* self);
  static void onRead(pa_stream* stream, std::size_t bytes, void* self);
  static void onTiming(pa_stream* stream, int success, void* self);
  void read(std::size_t bytes);

  std::string m_source;
  std::string m_sinkName;
  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
  int m_channels = 0;
  int m_rate = 0;

  mutable std::mutex m_mutex;
  std::vector<float> m_level;
  std::int64_t m_lost = 0;
  bool m_timingPending = false;
  std::int64_t m_lastTimingRequestNs = 0;
  // Every timing report: a frame and the steady time it was played.
  std::vector<std::pair<std::int64_t, std::int64_t>> m_anchors;
};

}  // namespace testsupport
