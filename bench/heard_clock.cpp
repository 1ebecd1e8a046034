// The play clock against the sound that is heard, through a real PulseAudio server.
//
// A click track (a 5 ms burst at every whole second over a quiet tone) is played by the real
// player and playback commands in a child process, started fresh for every run as the editor
// would be, while this process records the sink's monitor and maps every recorded frame to the
// steady clock. The clicks then give the heard song position at any moment. The child stamps
// at random moments (the first second included, and right after a pause and resume), logs
// every tick of the clock, stops, and plays another song.
//
// Then the whole editor is driven as a user does, under the X display the benchmark runs in
// (scripts/bench.sh gives it a virtual one): a fresh editor started with a lyrics file, the song
// dropped on its window as soon as it is shown, 播放 clicked at once and F5 pressed now and
// then through xdotool, while the monitor is recorded the same way.
//
// Last, the editor is driven through jumps: after a few F5, six times two F5 and a jump
// (Ctrl+Right, F6, Ctrl+Left in turn). For each jump it measures how long after the key press
// the target is heard, whether the shown time ever left the path from the target to the heard
// position (an old time, or a time ahead of the sound), and the stamps against the heard
// position.
//
// With --waveform, every other editor run and jump run opens the waveform window (F8) before
// 播放 is clicked and presses its keys there, and the figures with the window open are given
// apart from those without, measured in the same turns.
//
// Usage: heard_clock_bench [player runs, default 6] [editor runs, default 20]
//                          [editor jump runs, default 4] [--waveform]

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "bench_files.h"
#include "bench_timer.h"
#include "editor_drive.h"
#include "heard_clock_jumps.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/header_fields.h"
#include "lyrics/status_bar.h"
#include "monitor_setup.h"
#include "platform/interval_timer.h"
#include "platform/monotonic_clock.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "playback/playback_display.h"
#include "playback/playback_texts.h"
#include "playback/song_row.h"
#include "support/click_track.h"
#include "support/heard_timeline.h"
#include "support/monitor_recorder.h"
#include "support/recording_clipboard.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"

using bench::BenchTimer;
using platform::SteadyClock;

namespace {

long hundredthsOf(const std::string& tag) {
  return std::stol(tag.substr(1, 2)) * 6000 + std::stol(tag.substr(4, 2)) * 100 +
         std::stol(tag.substr(7, 2));
}

// ---- The child: an editor's playback with its clock, driven like a user would. ----

constexpr int kFirstPlayAfterStartMs = 1000;
constexpr int kPauseAtMs = 4300;
constexpr int kResumeAtMs = 5000;
constexpr int kStopAtMs = 8000;
constexpr int kSecondPlayAfterStopMs = 800;
constexpr int kSecondStopAtMs = 4000;

int runPlayer(const std::string& songA, const std::string& songB, unsigned seed) {
  int argc = 1;
  char name[] = "heard_clock_player";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  std::printf("start %lld\n", static_cast<long long>(SteadyClock::now()));

  // The editor's objects, as main() and the bindings make them.
  playback::MpvAudioPlayer player;
  SteadyClock clock;
  lyrics::CurrentTimeTag tag;
  playback::PlaybackDisplay display;
  lyrics::StatusBar status;
  lyrics::HeaderFields header;
  playback::SongRow song;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingClipboard clipboard;
  playback::PlayClock* playClock = nullptr;
  BenchTimer tickTimer([&] {
    const std::int64_t before = SteadyClock::now();
    playClock->tick();
    const std::int64_t after = SteadyClock::now();
    std::printf("tick %lld %ld %lld\n", static_cast<long long>(after), hundredthsOf(tag.value()),
                static_cast<long long>(after - before));
  });
  playback::PlayClock realClock(tickTimer, tag, display, status, player, clock);
  playClock = &realClock;
  playback::PlaybackController controller(song, header, status, display, realClock, player,
                                          prompter, dialogs, clipboard);
  // What the editor does at start.
  player.prepareInBackground();

  std::mt19937 random(seed);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto stamp = [&] {
    // AddTimeTag stamps the clock's tag of the key press.
    const std::string stamped = realClock.currentTag();
    std::printf("stamp %lld %ld\n", static_cast<long long>(SteadyClock::now()),
                hundredthsOf(stamped));
  };
  const auto stampsBetween = [&](int fromMs, int toMs) {
    for (int at = fromMs + between(10, 120); at < toMs; at += between(60, 260)) {
      QTimer::singleShot(at, Qt::PreciseTimer, &application, stamp);
    }
  };
  const auto play = [&](const std::string& path, const char* which) {
    controller.setCurrentSong(path, std::filesystem::path(path).filename().string(),
                              playback::texts::mp3Format());
    std::printf("play %lld %s\n", static_cast<long long>(SteadyClock::now()), which);
    controller.playSong();
  };
  const auto mark = [](const char* what) {
    std::printf("%s %lld\n", what, static_cast<long long>(SteadyClock::now()));
  };

  const int a = kFirstPlayAfterStartMs;
  QTimer::singleShot(a, Qt::PreciseTimer, &application, [&] { play(songA, "A"); });
  stampsBetween(a, a + kPauseAtMs);
  QTimer::singleShot(a + kPauseAtMs, Qt::PreciseTimer, &application, [&] {
    controller.togglePause();
    mark("pause");
  });
  QTimer::singleShot(a + kResumeAtMs, Qt::PreciseTimer, &application, [&] {
    controller.togglePause();
    mark("resume");
  });
  stampsBetween(a + kResumeAtMs, a + kStopAtMs);
  QTimer::singleShot(a + kStopAtMs, Qt::PreciseTimer, &application, [&] {
    controller.stopPlayback();
    mark("stop");
  });
  const int b = a + kStopAtMs + kSecondPlayAfterStopMs;
  QTimer::singleShot(b, Qt::PreciseTimer, &application, [&] { play(songB, "B"); });
  stampsBetween(b, b + kSecondStopAtMs);
  QTimer::singleShot(b + kSecondStopAtMs, Qt::PreciseTimer, &application, [&] {
    controller.stopPlayback();
    mark("stop");
    QTimer::singleShot(300, &application, &QCoreApplication::quit);
  });
  application.exec();
  for (const auto& shown : prompter.shown) std::printf("message %s\n", shown.text.c_str());
  std::fflush(stdout);
  return 0;
}

// ---- The parent: records the monitor and judges every run. ----

struct Event {
  std::string kind;
  std::int64_t ns = 0;
  long hundredths = 0;
  // How long the tick took, in nanoseconds (ticks only).
  long long costNs = 0;
};

struct Playback {
  std::int64_t playNs = 0, stopNs = 0, pauseNs = 0, resumeNs = 0;
  std::vector<Event> shown;  // ticks and stamps, in order
};

struct Figures {
  std::vector<double> firstPlayMs, laterPlayMs, stampErrorsMs, stampSignedMs, tickCostUs;
  double aheadBeforeSoundMs = 0, leadMs = 0, stepBackMs = 0, resumeLeadMs = 0;
  int runs = 0, failed = 0;
};

std::vector<Playback> parse(const std::string& output) {
  std::vector<Playback> playbacks;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    Event event;
    words >> event.kind >> event.ns;
    if (event.kind == "play") {
      playbacks.push_back({});
      playbacks.back().playNs = event.ns;
    } else if (playbacks.empty()) {
      continue;
    } else if (event.kind == "tick" || event.kind == "stamp") {
      words >> event.hundredths >> event.costNs;
      playbacks.back().shown.push_back(event);
    } else if (event.kind == "pause") {
      playbacks.back().pauseNs = event.ns;
    } else if (event.kind == "resume") {
      playbacks.back().resumeNs = event.ns;
    } else if (event.kind == "stop") {
      playbacks.back().stopNs = event.ns;
    } else if (event.kind == "message") {
      std::printf("  the player said: %s\n", line.c_str() + 8);
    }
  }
  return playbacks;
}

bool judge(const testsupport::Recording& recording, const std::vector<double>& onsets,
           const Playback& playback, bool first, Figures& figures) {
  const testsupport::HeardTimeline heard(recording, onsets, playback.playNs, playback.stopNs);
  if (!heard.problem().empty() || !heard.firstSoundNs()) {
    std::printf("  unusable recording: %s\n", heard.problem().c_str());
    return false;
  }
  const std::int64_t soundNs = *heard.firstSoundNs();
  const double toSoundMs = (soundNs - playback.playNs) / 1e6;
  (first ? figures.firstPlayMs : figures.laterPlayMs).push_back(toSoundMs);
  double aheadBefore = 0, lead = 0, leadAt = 0, stepBack = 0, resumeLead = 0;
  long previous = -1;
  int stamps = 0, unknown = 0;
  double worstStamp = 0;
  for (const Event& event : playback.shown) {
    const double shown = event.hundredths / 100.0;
    if (event.kind == "tick" && event.costNs > 0) figures.tickCostUs.push_back(event.costNs / 1e3);
    if (event.ns < soundNs) aheadBefore = std::max(aheadBefore, shown);
    if (previous >= 0) stepBack = std::max(stepBack, (previous - event.hundredths) * 10.0);
    previous = event.hundredths;
    const auto heardAt = heard.positionAt(event.ns);
    if (!heardAt) {
      unknown += event.kind == "stamp" ? 1 : 0;
      continue;
    }
    const double position = *heardAt;
    if (shown - position > lead) {
      lead = shown - position;
      leadAt = (event.ns - playback.playNs) / 1e9;
    }
    if (playback.resumeNs != 0 && event.ns >= playback.resumeNs &&
        event.ns < playback.resumeNs + 300'000'000) {
      resumeLead = std::max(resumeLead, shown - position);
    }
    if (event.kind == "stamp") {
      const double error = (shown - position) * 1000.0;
      figures.stampErrorsMs.push_back(std::abs(error));
      figures.stampSignedMs.push_back(error);
      worstStamp = std::max(worstStamp, std::abs(error));
      ++stamps;
    }
  }
  figures.aheadBeforeSoundMs = std::max(figures.aheadBeforeSoundMs, aheadBefore * 1000.0);
  figures.leadMs = std::max(figures.leadMs, lead * 1000.0);
  figures.stepBackMs = std::max(figures.stepBackMs, stepBack);
  figures.resumeLeadMs = std::max(figures.resumeLeadMs, resumeLead * 1000.0);
  std::printf(
      "  %s Play: first sound after %6.1f ms; shown before sound up to %.2f s; %d stamps, "
      "worst %.1f ms",
      first ? "first" : "later", toSoundMs, aheadBefore, stamps, worstStamp);
  if (unknown > 0) std::printf("; %d stamps in silence of unknown position not judged", unknown);
  if (lead > 0.010) {
    std::printf("; shown time %.1f ms ahead of the sound %.2f s after Play", lead * 1000, leadAt);
  }
  if (heard.startShortfall() > 0.0005) {
    std::printf("; the song's first %.1f ms not heard in full", heard.startShortfall() * 1000);
  }
  if (heard.skippedSeconds() > 0) {
    std::printf("; the sound broke off and skipped %.0f ms of the song (an underrun)",
                heard.skippedSeconds() * 1000);
  } else if (heard.breakMismatch() > 0) {
    std::printf("; positions next to a break uncertain by %.1f ms", heard.breakMismatch() * 1000);
  }
  std::printf("\n");
  return true;
}

void printFigures(const Figures& figures, const char* first);

// Judges `runs` starts of the real editor, each driven as a user does; with `alternate`, every
// other run with the waveform window open, judged into figures[1].
void runEditor(const testsupport::MonitorRecorder& recorder, const std::string& song,
               const std::vector<double>& onsets, int runs, bool alternate, Figures figures[2]) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::printf("\nno X display: the editor runs are left out (scripts/bench.sh gives one)\n");
    return;
  }
  const auto dir = std::filesystem::temp_directory_path() / "lrc-bench-editor";
  const std::string lyrics = bench::writeLyrics(dir);
  if (lyrics.empty()) return;
  std::printf("\nthe editor (%s): dropped song, 播放 at once, F5 through the display; %d runs%s\n",
              LRC_EDITOR_BINARY, runs,
              alternate ? ", every other one with the waveform window open" : "");
  std::vector<double> sendMs;
  for (int run = 0; run < runs; ++run) {
    const bool waveform = alternate && run % 2 == 1;
    Figures& into = figures[waveform ? 1 : 0];
    const bench::EditorRun driven = bench::driveEditor(LRC_EDITOR_BINARY, lyrics, song,
                                                       dir.string(), 1000u + run, false, waveform);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::printf("run %d%s (load %s):\n", run + 1, waveform ? ", waveform window open" : "",
                bench::loadAverage().c_str());
    ++into.runs;
    if (!driven.problem.empty()) {
      std::printf("  %s\n", driven.problem.c_str());
      ++into.failed;
      continue;
    }
    std::printf(
        "  播放 clicked %.0f ms after the window was shown; the click reached the window "
        "%.1f ms later\n",
        (driven.clickNs - driven.shownNs) / 1e6, driven.deliveryNs.front() / 1e6);
    for (const std::int64_t ns : driven.deliveryNs) sendMs.push_back(ns / 1e6);
    for (const auto& [ns, hundredths] : driven.shown) {
      if (hundredths > 0) {
        std::printf("  the shown time first moved %.0f ms after the click\n",
                    (ns - driven.clickNs) / 1e6);
        break;
      }
    }
    Playback playback;
    playback.playNs = driven.clickNs;
    playback.stopNs = driven.endNs;
    for (const auto& [ns, hundredths] : driven.shown) {
      if (ns >= driven.clickNs) playback.shown.push_back({"tick", ns, hundredths, 0});
    }
    for (const auto& [ns, hundredths] : driven.stamps) {
      playback.shown.push_back({"stamp", ns, hundredths, 0});
    }
    std::sort(playback.shown.begin(), playback.shown.end(),
              [](const Event& a, const Event& b) { return a.ns < b.ns; });
    if (!judge(recorder.recording(), onsets, playback, true, into)) ++into.failed;
  }
  std::printf(
      "(a press reached the window %.1f ms median, %.1f ms p90 after the display server's "
      "time of it, counted from the fastest press of its run)\n",
      bench::percentile(sendMs, 0.5), bench::percentile(sendMs, 0.9));
}

int runBench(const char* self, int runs, int editorRuns, int jumpRuns, bool waveform) {
  if (!bench::soundServerReachable("heard_clock_bench")) return 1;
  const auto dir = std::filesystem::temp_directory_path() / "lrc-bench-audio";
  std::filesystem::create_directories(dir);
  const std::string songA = (dir / "clicks-a.mp3").string();
  const std::string songB = (dir / "clicks-b.mp3").string();
  const std::string songC = (dir / "clicks-c.mp3").string();
  if (!testsupport::ClickTrack::write(songA, 12) || !testsupport::ClickTrack::write(songB, 12) ||
      !testsupport::ClickTrack::write(songC, 20)) {
    std::printf("heard_clock_bench: ffmpeg could not make the click tracks\n");
    return 1;
  }
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(songA);

  testsupport::MonitorRecorder recorder;
  if (!bench::startRecording("heard_clock_bench", recorder)) return 1;
  std::printf("heard_clock_bench: recording %s.monitor; %d runs, each a fresh player process\n",
              recorder.sinkName().c_str(), runs);
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    const std::string command = std::string("'") + self + "' --player '" + songA + "' '" + songB +
                                "' " + std::to_string(run + 1);
    FILE* child = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (;;) {
      const ssize_t got = child != nullptr ? ::read(::fileno(child), buffer, sizeof buffer) : 0;
      if (got > 0) {
        output.append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        break;
      }
    }
    const int status = child != nullptr ? ::pclose(child) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::printf("run %d:\n", run + 1);
    const std::vector<Playback> playbacks = parse(output);
    ++figures.runs;
    if (status != 0 || playbacks.size() != 2) {
      std::printf("  the player failed (status %d)\n", status);
      ++figures.failed;
      continue;
    }
    const testsupport::Recording recording = recorder.recording();
    for (std::size_t index = 0; index < playbacks.size(); ++index) {
      if (!judge(recording, onsets, playbacks[index], index == 0, figures)) ++figures.failed;
    }
  }
  if (figures.runs > 0) printFigures(figures, "after start");
  Figures editorFigures[2];
  if (editorRuns > 0) {
    runEditor(recorder, songA, onsets, editorRuns, waveform, editorFigures);
    if (editorFigures[0].runs > 0) {
      printFigures(editorFigures[0], waveform ? "in the editor, clicked at once, waveform window "
                                                "closed"
                                              : "in the editor, clicked at once");
    }
    if (editorFigures[1].runs > 0) {
      printFigures(editorFigures[1], "in the editor, clicked at once, waveform window open");
    }
  }
  bench::JumpFigures jumpFigures[2];
  if (jumpRuns > 0) {
    bench::runEditorJumps(recorder, songC, testsupport::ClickTrack::decodedOnsets(songC), jumpRuns,
                          waveform, jumpFigures);
  }
  recorder.stop();
  const int failed = figures.failed + editorFigures[0].failed + editorFigures[1].failed +
                     jumpFigures[0].failed + jumpFigures[1].failed;
  return failed > 0 ? 1 : 0;
}

void printFigures(const Figures& figures, const char* first) {
  const auto& e = figures.stampErrorsMs;
  double bias = 0;
  for (double signedError : figures.stampSignedMs) bias += signedError;
  if (!figures.stampSignedMs.empty()) bias /= static_cast<double>(figures.stampSignedMs.size());
  std::printf(
      "\nPlay to first sound, first Play %s: median %.0f ms, p90 %.0f ms, max %.0f ms (%zu)\n",
      first, bench::percentile(figures.firstPlayMs, 0.5),
      bench::percentile(figures.firstPlayMs, 0.9), bench::percentile(figures.firstPlayMs, 1.0),
      figures.firstPlayMs.size());
  if (!figures.laterPlayMs.empty())
    std::printf(
        "Play to first sound, later Play of another song: median %.0f ms, p90 %.0f ms, max %.0f "
        "ms\n",
        bench::percentile(figures.laterPlayMs, 0.5), bench::percentile(figures.laterPlayMs, 0.9),
        bench::percentile(figures.laterPlayMs, 1.0));
  std::printf("largest shown time before anything is heard: %.0f ms\n", figures.aheadBeforeSoundMs);
  std::printf(
      "largest lead of the shown time over the heard position: %.1f ms (%.1f ms within 0.3 s after "
      "a resume)\n",
      figures.leadMs, figures.resumeLeadMs);
  std::printf("largest step back of the shown time: %.0f ms\n", figures.stepBackMs);
  std::printf(
      "stamp error against the heard position over %zu stamps: median %.1f ms, p99 %.1f ms, max "
      "%.1f ms, mean signed %+.1f ms\n",
      e.size(), bench::percentile(e, 0.5), bench::percentile(e, 0.99), bench::percentile(e, 1.0),
      bias);
  if (!figures.tickCostUs.empty())
    std::printf(
        "one tick of the clock, which reads the position from mpv: median %.0f us, p99 %.0f us, "
        "max %.0f us\n",
        bench::percentile(figures.tickCostUs, 0.5), bench::percentile(figures.tickCostUs, 0.99),
        bench::percentile(figures.tickCostUs, 1.0));
  std::printf(
      "(targets: sound <= 150 ms p90; nothing shown before the sound; no step back over 10 ms; "
      "stamps median <= 5 ms, p99 <= 10 ms)\n");
  if (figures.failed > 0) {
    std::printf("%d of %d runs' playbacks could not be judged\n", figures.failed, figures.runs);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 5 && std::string(argv[1]) == "--player") {
    return runPlayer(argv[2], argv[3], static_cast<unsigned>(std::atoi(argv[4])));
  }
  std::vector<std::string> counts;
  bool waveform = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--waveform") {
      waveform = true;
    } else {
      counts.emplace_back(argv[i]);
    }
  }
  const auto count = [&](std::size_t index, int otherwise) {
    return index < counts.size() ? std::max(0, std::atoi(counts[index].c_str())) : otherwise;
  };
  return runBench(argv[0], count(0, 6), count(1, 20), count(2, 4), waveform);
}
