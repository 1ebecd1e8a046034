// The waveform window's envelope: a 5-minute 192 kbps MP3 and a 5-minute WMA (made with ffmpeg
// here) decoded to their envelope, the time to the first buckets (the first picture), a cached
// open, and the memory the window adds for a 10-minute song, opened in the whole editor. The
// editor here has the tests' fake player and draws offscreen, so FFmpeg's libraries are mapped
// for the window alone (libmpv would have mapped them already) and no picture goes to a display;
// waveform_play_bench measures the same with the real player playing, under an X display.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/bindings/waveform_bindings.h"
#include "app/editor_app.h"
#include "bench_files.h"
#include "support/fake_services.h"
#include "waveform/envelope_cache.h"
#include "waveform/ffmpeg/ffmpeg_decoder.h"

namespace {

void envelopeTimes(const std::string& path, const char* name) {
  QElapsedTimer timer;
  timer.start();
  double firstMs = -1;
  std::size_t buckets = 0;
  waveform::DecodeSink sink;
  sink.started = [](double) {};
  sink.peaks = [&](std::vector<waveform::Peak> peaks) {
    if (firstMs < 0) firstMs = timer.nsecsElapsed() / 1e6;
    buckets += peaks.size();
    return true;
  };
  const auto status = waveform::FfmpegDecoder().decode(path, sink);
  const double allMs = timer.nsecsElapsed() / 1e6;
  std::printf("%-4s envelope: %s, %.1f s of sound, first buckets %.1f ms, all %.1f ms\n", name,
              status == waveform::DecodeStatus::Ok ? "ok" : "FAILED", buckets / 200.0, firstMs,
              allMs);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testsupport::TempDir dir;
  const std::string mp3 = dir.file("five.mp3");
  const std::string wma = dir.file("five.wma");
  const std::string ten = dir.file("ten.mp3");
  if (!bench::makeNoiseSong(mp3, 300, "libmp3lame") || !bench::makeNoiseSong(wma, 300, "wmav2") ||
      !bench::makeNoiseSong(ten, 600, "libmp3lame")) {
    std::fprintf(stderr, "ffmpeg could not make the songs\n");
    return 1;
  }
  double load[3] = {};
  if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(f, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = -1;
    std::fclose(f);
  }
  std::printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
  envelopeTimes(mp3, "MP3");
  envelopeTimes(wma, "WMA");

  // A cached open: the file read and checked.
  const auto key = waveform::SongKey::of(mp3);
  const waveform::EnvelopeCache cache(dir.file("cache"));
  cache.store(*key, std::vector<waveform::Peak>(300 * 200, {-50, 50}));
  QElapsedTimer timer;
  timer.start();
  const bool cached = cache.load(*key).has_value();
  std::printf("cached envelope of 5 min: %s in %.2f ms\n", cached ? "read" : "MISSING",
              timer.nsecsElapsed() / 1e6);

  // The window in the whole editor on a 10-minute song: first picture, all of it, memory.
  testsupport::EditorHarness harness;
  harness.start();
  harness.editor->state().playback.setCurrentSong(ten, "ten.mp3", "mp3");
  QTest::qWait(200);
  const double rssBefore = bench::statusMb("VmRSS");
  const double peakBefore = bench::statusMb("VmHWM");
  timer.restart();
  harness.editor->commands().run("ShowWaveformWindow");
  waveform::WaveformWindow* window = harness.editor->waveform().waveformWindow();
  double firstMs = -1;
  while (!window->loaded() && timer.elapsed() < 30000) {
    // The loop sleeps between events: spinning, it would take a core from the decoder.
    QEventLoop loop;
    QTimer::singleShot(1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    if (firstMs < 0 && window->envelope().size() > 0) {
      window->view().repaint();
      firstMs = timer.nsecsElapsed() / 1e6;
    }
  }
  const double allMs = timer.nsecsElapsed() / 1e6;
  window->view().repaint();
  std::printf("window on 10 min: first picture with waveform %.1f ms, envelope complete %.1f ms\n",
              firstMs, allMs);
  std::printf("memory added: resident %+.1f MB, peak %+.1f MB\n",
              bench::statusMb("VmRSS") - rssBefore, bench::statusMb("VmHWM") - peakBefore);
  return 0;
}
