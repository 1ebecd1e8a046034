// The waveform window in the whole editor with the real player (libmpv playing through the
// sound server), under an X display, on a 10-minute 192 kbps MP3:
//  - opening the window while the song plays: the first picture that holds waveform, the
//    complete envelope and the memory the window adds; then a cached open of the same song;
//  - the play clock's 10 ms tick (the gap from one tick to the next) while the song plays, with
//    the window closed, open on the whole song, and open zoomed to 10 s with the view following
//    the cursor: the three in turns, from the same point of the song, over a few rounds;
//  - the window's repaint rate meanwhile (paint events of 波形_视图) and the gaps between frames;
//  - what one paint of the view costs at each zoom, rendered into an image.
// Needs the tests' PulseAudio server (bash scripts/services.sh start) and an X display
// (scripts/bench.sh gives it a virtual one).
// Usage: waveform_play_bench [rounds, default 3] [seconds per phase, default 8]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/waveform_bindings.h"
#include "app/editor_app.h"
#include "app/window/main_window.h"
#include "bench_files.h"
#include "platform/monotonic_clock.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/playback_texts.h"
#include "support/fake_services.h"

using platform::SteadyClock;

namespace {

constexpr int kSongSeconds = 600;

// Gaps between consecutive times, in milliseconds.
std::vector<double> gapsMs(const std::vector<std::int64_t>& times) {
  std::vector<double> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back((times[i] - times[i - 1]) / 1e6);
  return gaps;
}

// Runs the event loop for `ms`.
void runFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` or `ms` passed; false on the timeout.
template <typename Done>
bool runUntil(Done done, int ms) {
  QElapsedTimer waited;
  waited.start();
  while (!done()) {
    if (waited.elapsed() > ms) return false;
    // The loop sleeps between events: spinning, it would take a core from the decoder.
    QEventLoop loop;
    QTimer::singleShot(2, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// Notes the time of every paint event of the widget it watches.
class PaintWatch : public QObject {
 public:
  std::vector<std::int64_t> paints;
  bool recording = false;
  std::function<void()> onPaint;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (recording) paints.push_back(SteadyClock::now());
      if (onPaint) onPaint();
    }
    return false;
  }
};

struct PhaseFigures {
  explicit PhaseFigures(const char* phaseName) : name(phaseName) {}
  const char* name;
  std::vector<double> tickGapsMs, frameGapsMs;
  double seconds = 0;
  std::size_t paints = 0;
};

// Opens the window on the playing song, first uncached then cached, and prints when the first
// picture with waveform in it was on screen and what the window added to the memory.
void openWindow(app::EditorApp& editor, const std::string& song) {
  editor.commands().run("PlaySong");
  if (!runUntil([&] { return editor.state().clock.elapsedNs() > 500'000'000; }, 10000)) {
    std::printf("the song did not play within 10 s (is a sound server running?)\n");
  }
  runFor(1500);
  const double rssBefore = bench::statusMb("VmRSS");
  const double peakBefore = bench::statusMb("VmHWM");
  std::printf(
      "\nopening the window on the playing 10-minute song (load %s; editor resident %.1f MB)\n",
      bench::loadAverage().c_str(), rssBefore);
  QElapsedTimer timer;
  timer.start();
  editor.commands().run("ShowWaveformWindow");
  waveform::WaveformWindow* window = editor.waveform().waveformWindow();
  PaintWatch watch;
  double firstPaintMs = -1, firstWaveMs = -1;
  watch.onPaint = [&] {
    if (firstPaintMs < 0) firstPaintMs = timer.nsecsElapsed() / 1e6;
    if (firstWaveMs < 0 && window->envelope().size() > 0) {
      // The paint runs once this filter returns; the next turn of the loop comes after it.
      QTimer::singleShot(0, [&] {
        if (firstWaveMs < 0) firstWaveMs = timer.nsecsElapsed() / 1e6;
      });
    }
  };
  window->view().installEventFilter(&watch);
  runUntil([&] { return window->loaded() && firstWaveMs >= 0; }, 30000);
  const double allMs = timer.nsecsElapsed() / 1e6;
  runFor(1000);
  std::printf(
      "  uncached: first paint %.1f ms, first picture with waveform %.1f ms, envelope complete "
      "%.1f ms (load %s)\n",
      firstPaintMs, firstWaveMs, allMs, bench::loadAverage().c_str());
  std::printf("  memory added by the window: resident %+.1f MB, peak %+.1f MB\n",
              bench::statusMb("VmRSS") - rssBefore, bench::statusMb("VmHWM") - peakBefore);

  // The same song again: its envelope now comes from the cache.
  window->showSong("");
  runFor(200);
  firstWaveMs = -1;
  timer.restart();
  window->showSong(song);
  runUntil([&] { return window->loaded() && firstWaveMs >= 0; }, 10000);
  std::printf("  cached: first picture with waveform %.1f ms (load %s)\n", firstWaveMs,
              bench::loadAverage().c_str());
  window->view().removeEventFilter(&watch);
  editor.commands().run("StopPlayback");
  runFor(300);
}

void printPhase(const PhaseFigures& phase) {
  const auto& t = phase.tickGapsMs;
  const auto late = std::count_if(t.begin(), t.end(), [](double gap) { return gap > 15; });
  std::printf("%-22s ticks %5zu: gap median %5.2f ms, p99 %5.2f ms, max %6.2f ms, over 15 ms %zu",
              phase.name, t.size(), bench::percentile(t, 0.5), bench::percentile(t, 0.99),
              bench::percentile(t, 1.0), static_cast<std::size_t>(late));
  if (phase.paints > 0) {
    const auto& f = phase.frameGapsMs;
    std::printf("; view %.1f frames/s, frame gap median %.1f ms, p99 %.1f ms, max %.1f ms",
                phase.paints / phase.seconds, bench::percentile(f, 0.5), bench::percentile(f, 0.99),
                bench::percentile(f, 1.0));
  }
  std::printf("\n");
}

// What one paint of the view costs, drawn into an image of its size: a frame of the playing
// song (the cursor moved, the rest from the kept picture), and one where the view moved a pixel
// and the picture is drawn again.
void paintCost(waveform::WaveformView& view, const char* name) {
  QImage image(view.size(), QImage::Format_RGB32);
  std::vector<double> frames, redrawn;
  for (int i = 0; i < 60; ++i) {
    view.setPlayCursor(view.axis().start() + view.axis().span() * i / 60, false);
    std::int64_t before = SteadyClock::now();
    view.render(&image);
    frames.push_back((SteadyClock::now() - before) / 1e6);
    view.axis().scrollBy(i % 2 == 0 ? 1 : -1);
    before = SteadyClock::now();
    view.render(&image);
    redrawn.push_back((SteadyClock::now() - before) / 1e6);
  }
  std::printf(
      "one paint of the view, %-16s a frame median %.2f ms, p99 %.2f ms; the picture drawn again "
      "median %.2f ms, p99 %.2f ms (load %s)\n",
      name, bench::percentile(frames, 0.5), bench::percentile(frames, 0.99),
      bench::percentile(redrawn, 0.5), bench::percentile(redrawn, 0.99),
      bench::loadAverage().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariable("QT_QPA_PLATFORM") == QStringLiteral("offscreen") ||
      !qEnvironmentVariableIsSet("DISPLAY")) {
    std::printf("waveform_play_bench: needs an X display (scripts/bench.sh gives it one)\n");
    return 0;
  }
  if (std::system("pactl info >/dev/null 2>&1") != 0) {
    std::printf("waveform_play_bench: no sound server (bash scripts/services.sh start)\n");
    return 1;
  }
  QApplication application(argc, argv);
  // libmpv refuses a locale whose decimal separator is not a dot.
  std::setlocale(LC_NUMERIC, "C");
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const int phaseMs = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 8) * 1000;

  testsupport::FakeServices fakes;
  const std::string song = fakes.home.file("ten.mp3");
  if (!bench::makeNoiseSong(song, kSongSeconds, "libmp3lame")) {
    std::fprintf(stderr, "ffmpeg could not make the song\n");
    return 1;
  }
  // The editor as main() makes it, with the real player; the other services stay fakes.
  playback::MpvAudioPlayer player;
  fakes.player = &player;
  app::Services services = fakes.services();
  services.preparePlayer = [&player] { player.prepareInBackground(); };
  app::EditorApp editor({}, services);
  editor.start();
  if (!QTest::qWaitForWindowExposed(&editor.window(), 10000)) {
    std::printf("the main window was not shown\n");
    return 1;
  }
  // A line every 5 s, each with its mark.
  std::vector<std::string> lines;
  for (int second = 5; second < kSongSeconds; second += 5) {
    char line[64];
    std::snprintf(line, sizeof line, "[%02d:%02d.00]line %d of the song", second / 60, second % 60,
                  second / 5);
    lines.emplace_back(line);
  }
  editor.state().lyrics.replaceAll(lines);
  editor.state().playback.setCurrentSong(song, "ten.mp3", playback::texts::mp3Format());
  std::printf("waveform_play_bench: %d rounds of %d s per phase; load average %s at start\n",
              rounds, phaseMs / 1000, bench::loadAverage().c_str());

  openWindow(editor, song);
  waveform::WaveformWindow* window = editor.waveform().waveformWindow();
  // Beside the main window's top, where the 播放 button is, as far as the screen allows.
  window->move(0, std::max(0, window->screen()->geometry().height() - window->height() - 10));

  std::vector<std::int64_t> ticks;
  bool recording = false;
  QObject::connect(editor.window().timers().millisecond, &app::QtIntervalTimer::ticked, &editor,
                   [&] {
                     if (recording) ticks.push_back(SteadyClock::now());
                   });
  PaintWatch watch;
  window->view().installEventFilter(&watch);

  PhaseFigures closed("window closed"), whole("open, whole song"), zoomed("open, 10 s following");
  PhaseFigures* phases[] = {&closed, &whole, &zoomed};
  std::printf("\nthe song playing, %d s a phase from the same point of the song:\n",
              phaseMs / 1000);
  for (int round = 0; round < rounds; ++round) {
    const double from = 30.0 + 150.0 * round;
    for (PhaseFigures* phase : phases) {
      if (phase == &closed) {
        window->hide();
      } else {
        window->show();
        if (!QTest::qWaitForWindowExposed(window, 5000)) std::printf("(window not exposed)\n");
        window->view().axis().showAll();
        if (phase == &zoomed) window->view().axis().zoomAround(0, 10.0 / kSongSeconds);
        window->view().update();
      }
      editor.state().playback.playFrom(from);
      runUntil([&] { return editor.state().clock.elapsedNs() > (from + 0.5) * 1e9; }, 10000);
      ticks.clear();
      watch.paints.clear();
      recording = true;
      watch.recording = phase != &closed;
      const std::int64_t start = SteadyClock::now();
      runFor(phaseMs);
      recording = watch.recording = false;
      const double seconds = (SteadyClock::now() - start) / 1e9;
      PhaseFigures part(phase->name);
      part.tickGapsMs = gapsMs(ticks);
      part.frameGapsMs = gapsMs(watch.paints);
      part.seconds = seconds;
      part.paints = watch.paints.size();
      std::printf("round %d load %-5s ", round + 1, bench::loadAverage().c_str());
      printPhase(part);
      phase->tickGapsMs.insert(phase->tickGapsMs.end(), part.tickGapsMs.begin(),
                               part.tickGapsMs.end());
      phase->frameGapsMs.insert(phase->frameGapsMs.end(), part.frameGapsMs.begin(),
                                part.frameGapsMs.end());
      phase->seconds += seconds;
      phase->paints += part.paints;
      editor.commands().run("StopPlayback");
      runFor(300);
    }
  }
  std::printf("\nall rounds (load %s at the end):\n", bench::loadAverage().c_str());
  for (const PhaseFigures* phase : phases) printPhase(*phase);
  std::printf(
      "(targets: the tick's p99 as with the window closed; the view at >= 50 frames/s)\n\n");

  window->show();
  if (!QTest::qWaitForWindowExposed(window, 5000)) std::printf("(window not exposed)\n");
  window->view().axis().showAll();
  window->view().axis().zoomAround(0, 0.99);  // room to scroll a pixel
  paintCost(window->view(), "the whole song:");
  window->view().axis().zoomAround(0, 10.0 / kSongSeconds);
  paintCost(window->view(), "10 s across:");
  editor.exitProgram();
  return 0;
}
