#pragma once

// How the benchmarks that listen to the sound server begin: a server to listen to, and the
// recording of its sink's monitor.

#include <cstdio>
#include <string>

#include "support/monitor_recorder.h"

namespace bench {

// True when a PulseAudio server answers; otherwise says so for the benchmark `name`.
inline bool soundServerReachable(const char* name) {
  if (testsupport::MonitorRecorder::serverReachable()) return true;
  std::printf("%s: no PulseAudio server (bash scripts/services.sh start)\n", name);
  return false;
}

// Starts recording the sink's monitor; otherwise says why for the benchmark `name`.
inline bool startRecording(const char* name, testsupport::MonitorRecorder& recorder) {
  std::string error;
  if (recorder.start(&error)) return true;
  std::printf("%s: %s\n", name, error.c_str());
  return false;
}

}  // namespace bench
