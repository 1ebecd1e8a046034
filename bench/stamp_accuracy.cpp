// Stamp accuracy of the play clock against the real playback position, next to the old way of
// counting 10 ms timer events, while the other core is kept busy. Also the cost of one tick.
//
// The song plays through libmpv's "null" audio output in real time, which paces the audio by
// the system clock, so the true position is a straight line over monotonic time. That line is
// fitted from every position the clock read during the run (the median of "reading time -
// position"), which is independent of any single reading; mpv's own time-pos, read at each
// stamp, is printed beside it (mpv renews it only every 50-100 ms). The null output starts at
// once, so this cannot show what happens before a real output is heard: heard_clock_bench
// measures that through PulseAudio.
//
// Usage: stamp_accuracy_bench [seconds of audio, default 180]

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_timer.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/status_bar.h"
#include "platform/interval_timer.h"
#include "platform/monotonic_clock.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/play_clock.h"
#include "playback/playback_display.h"

using bench::BenchTimer;
using platform::SteadyClock;

namespace {

// The old clock: one timer counts hundredths, another counts seconds, never corrected.
struct TickCounterClock {
  QTimer hundredths, seconds;
  long ticks = 0, secondCount = 0, minutes = 0;
  TickCounterClock() {
    hundredths.setTimerType(Qt::PreciseTimer);
    seconds.setTimerType(Qt::PreciseTimer);
    QObject::connect(&hundredths, &QTimer::timeout, [this] { ++ticks; });
    QObject::connect(&seconds, &QTimer::timeout, [this] {
      if (++secondCount == 60) {
        secondCount = 0;
        ++minutes;
      }
    });
  }
  void start() {
    hundredths.start(10);
    seconds.start(1000);
  }
  // What its tag "[mm:ss.xx]" says, in seconds.
  double tagSeconds() const { return minutes * 60.0 + secondCount + (ticks % 100) / 100.0; }
  // The hundredths count alone, as seconds.
  double countSeconds() const { return ticks / 100.0; }
};

double tagToSeconds(const std::string& tag) {
  return std::stoi(tag.substr(1, 2)) * 60.0 + std::stoi(tag.substr(4, 2)) +
         std::stoi(tag.substr(7, 2)) / 100.0;
}

struct Stats {
  double median, p99, max;
};

Stats statsMs(std::vector<double> errors) {
  for (double& e : errors) e = std::abs(e) * 1000.0;
  std::sort(errors.begin(), errors.end());
  auto at = [&](double q) {
    return errors[std::min(errors.size() - 1,
                           static_cast<std::size_t>(q * (errors.size() - 1) + 0.5))];
  };
  return {at(0.5), at(0.99), errors.back()};
}

void printRow(const char* name, const std::vector<double>& errors) {
  const Stats s = statsMs(errors);
  std::printf("  %-44s median %8.2f ms   p99 %8.2f ms   max %8.2f ms\n", name, s.median, s.p99,
              s.max);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const int seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 180;

  const auto dir = std::filesystem::temp_directory_path() / "lrc-bench-audio";
  std::filesystem::create_directories(dir);
  const std::string song = (dir / ("sine-" + std::to_string(seconds) + ".mp3")).string();
  if (!std::filesystem::exists(song)) {
    const std::string make = "ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=" +
                             std::to_string(seconds) + " -c:a libmp3lame '" + song + "'";
    if (std::system(make.c_str()) != 0) {
      std::fprintf(stderr, "ffmpeg could not make the test song\n");
      return 1;
    }
  }

  // Keep the other core busy for the whole run.
  std::atomic<bool> busy{true};
  std::thread burner([&] {
    volatile unsigned long spin = 0;
    while (busy.load(std::memory_order_relaxed)) spin = spin + 1;
  });

  playback::MpvAudioPlayer player({"null", false});
  if (!player.isReady()) {
    std::fprintf(stderr, "mpv did not start\n");
    return 1;
  }
  SteadyClock clock;
  lyrics::CurrentTimeTag tag;
  playback::PlaybackDisplay display;
  lyrics::StatusBar status;
  std::vector<double> tickCostsUs;
  std::vector<double> reportOffsets;  // report time - position, seconds
  std::int64_t lastReportAt = 0;
  playback::PlayClock* playClock = nullptr;
  BenchTimer tickTimer([&] {
    const auto sample = player.heardPosition();
    if (sample && sample->advancing && sample->takenAtNs != lastReportAt) {
      lastReportAt = sample->takenAtNs;
      reportOffsets.push_back(sample->takenAtNs / 1e9 - sample->seconds);
    }
    const std::int64_t before = SteadyClock::now();
    playClock->tick();
    tickCostsUs.push_back((SteadyClock::now() - before) / 1e3);
  });
  playback::PlayClock realClock(tickTimer, tag, display, status, player, clock);
  playClock = &realClock;
  TickCounterClock oldClock;

  struct Ended : playback::PlaybackListener {
    bool ended = false;
    void onPlayProgress(int percent) override { ended = ended || percent == 100; }
    void onPlayError(playback::PlayError) override { ended = true; }
  } listener;

  struct Stamp {
    std::int64_t at;
    double tagSeconds, timePos, oldTag, oldCount, lastTickTag;
  };
  std::vector<Stamp> stamps;
  QTimer stampTimer;
  stampTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&stampTimer, &QTimer::timeout, [&] {
    // What a stamp gets: the clock's tag of the key press. The tag as the last tick left it is
    // kept too, to show what reading it at the press adds.
    const double lastTickTag = tagToSeconds(tag.value());
    const std::string stamped = realClock.currentTag();
    stamps.push_back({SteadyClock::now(), tagToSeconds(stamped),
                      player.currentTimePos().value_or(NAN), oldClock.tagSeconds(),
                      oldClock.countSeconds(), lastTickTag});
  });

  // The way the editor starts playing: reset, start the clock, play.
  realClock.reset();
  realClock.start();
  oldClock.start();
  player.play(song, 0.0, listener);
  stampTimer.start(2500);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (listener.ended) application.quit();
  });
  poll.start(20);
  std::printf("playing %d s of audio in real time with one core kept busy...\n", seconds);
  std::fflush(stdout);
  application.exec();
  busy = false;
  burner.join();

  // The true position line: position = (t - t0).
  std::vector<double> offsets = reportOffsets;
  std::sort(offsets.begin(), offsets.end());
  const double t0 = offsets[offsets.size() / 2];

  std::vector<double> newVsLine, newVsTimePos, oldTagVsLine, oldCountVsLine, lastTickVsLine;
  for (const Stamp& s : stamps) {
    const double truth = s.at / 1e9 - t0;
    newVsLine.push_back(s.tagSeconds - truth);
    lastTickVsLine.push_back(s.lastTickTag - truth);
    if (!std::isnan(s.timePos)) newVsTimePos.push_back(s.tagSeconds - s.timePos);
    oldTagVsLine.push_back(s.oldTag - truth);
    oldCountVsLine.push_back(s.oldCount - truth);
  }
  std::printf("\n%zu stamps every 2.5 s; %zu position reports; truth = fitted line\n",
              stamps.size(), reportOffsets.size());
  // Reports reach the GUI thread a little late; the least delayed ones bound that delay.
  std::printf("report delivery spread (median - 1st percentile of report offsets): %.2f ms\n",
              (t0 - offsets[offsets.size() / 100]) * 1000.0);
  std::printf("stamp error |CurrentTimeTag - true position|:\n");
  printRow("play clock refreshed at the stamp, vs line", newVsLine);
  printRow("play clock as the last tick left it, vs line", lastTickVsLine);
  printRow("play clock (player position), vs mpv time-pos", newVsTimePos);
  printRow("old two-timer clock tag, vs line", oldTagVsLine);
  printRow("old 10 ms tick count alone, vs line", oldCountVsLine);
  if (!oldCountVsLine.empty()) {
    std::printf("  old tick count at the last stamp is %+.0f ms off\n",
                oldCountVsLine.back() * 1000.0);
  }

  std::sort(tickCostsUs.begin(), tickCostsUs.end());
  double sum = 0;
  for (double c : tickCostsUs) sum += c;
  std::printf("\ntick cost over %zu ticks: mean %.2f us, median %.2f us, p99 %.2f us\n",
              tickCostsUs.size(), sum / tickCostsUs.size(), tickCostsUs[tickCostsUs.size() / 2],
              tickCostsUs[tickCostsUs.size() * 99 / 100]);
  return 0;
}
