// The play clock against the sound that is heard at a playback speed other than 1.0, through a
// real PulseAudio server.
//
// A click track (a 5 ms burst in every second of the song over a quiet tone) is played by the
// editor's player and playback commands at 0.75 and at 0.5 times its pace while the sink's
// monitor is recorded. mpv stretches the sound in time and keeps its pitch, so a burst comes out
// longer but still loud and alone in its second: its onset is the first recorded frame above
// 45 % of the loudest click after half a second of quiet, the same rule as at 1.0, and between
// two onsets every sounding frame stands for `speed` frames of the song. Stamps taken at random
// moments are compared with the song position heard at that moment.
//
// The stretching moves each burst by up to some ten milliseconds, by an amount that depends on
// where the burst falls among the stretcher's windows. Bursts at whole seconds would all fall
// alike and give one run one error; here each second's burst comes at a different point of its
// second, as a song's onsets do.
//
// Then the speed is changed while the song plays (1.0 to 0.5, 0.5 to 0.75): the shown time must
// never run ahead of what is heard nor step back, and stamps after the change read the heard
// position again.
//
// Usage: heard_clock_speed_bench [runs per speed, default 4]

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_timer.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/header_fields.h"
#include "lyrics/status_bar.h"
#include "monitor_setup.h"
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

using platform::SteadyClock;

namespace {

struct Shown {
  std::int64_t ns;
  long hundredths;
  bool stamp;
};

// One stretch of a playback at one speed: from `fromNs` (the play or the change) to `toNs`,
// starting at song position `startSeconds`.
struct Segment {
  double speed;
  std::int64_t fromNs, toNs;
  double startSeconds;
};

struct Figures {
  std::vector<double> stampErrorsMs;
  double signedSumMs = 0;
  double leadMs = 0, stepBackMs = 0, aheadBeforeSoundMs = 0;
  int unjudged = 0;
};

long hundredthsOf(const std::string& tag) {
  return std::stol(tag.substr(1, 2)) * 6000 + std::stol(tag.substr(4, 2)) * 100 +
         std::stol(tag.substr(7, 2));
}

// The editor's playback objects, as main() makes them, with every tick and stamp logged.
struct Editor {
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
  std::vector<Shown> shown;
  bench::BenchTimer tickTimer{[this] {
    playClock.tick();
    shown.push_back({SteadyClock::now(), hundredthsOf(tag.value()), false});
  }};
  playback::PlayClock playClock{tickTimer, tag, display, status, player, clock};
  playback::PlaybackController controller{song,   header,   status,  display,  playClock,
                                          player, prompter, dialogs, clipboard};

  void stamp() {
    const std::string stamped = playClock.currentTag();
    shown.push_back({SteadyClock::now(), hundredthsOf(stamped), true});
  }
};

// Runs the event loop for `ms`, stamping at random moments 60..260 ms apart.
void stampFor(Editor& editor, int ms, std::mt19937& random) {
  QEventLoop loop;
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int at = between(20, 120); at < ms; at += between(60, 260)) {
    QTimer::singleShot(at, Qt::PreciseTimer, &loop, [&editor] { editor.stamp(); });
  }
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

// Judges what was shown within `segment` against what was heard.
bool judge(const testsupport::Recording& recording, const std::vector<double>& onsets,
           const std::vector<Shown>& shown, const Segment& segment, Figures& figures) {
  const testsupport::HeardTimeline heard(recording, onsets, segment.fromNs, segment.toNs,
                                         segment.startSeconds, segment.speed);
  // From Play the first sound; after a change, the first sound from where it went on (the sound
  // of before may still be heard for a moment).
  const auto soundNs = !heard.problem().empty()      ? std::nullopt
                       : segment.startSeconds == 0.0 ? heard.firstSoundNs()
                                                     : heard.heardNs(segment.startSeconds);
  if (!soundNs) {
    std::printf("  %.2fx from %.2f s: unusable recording: %s\n", segment.speed,
                segment.startSeconds,
                heard.problem().empty() ? "no click heard" : heard.problem().c_str());
    ++figures.unjudged;
    return false;
  }
  double lead = 0, beforeSound = 0, worst = 0;
  int stamps = 0;
  for (const Shown& event : shown) {
    if (event.ns < segment.fromNs || event.ns >= segment.toNs) continue;
    const double seconds = event.hundredths / 100.0;
    if (event.ns < *soundNs) beforeSound = std::max(beforeSound, seconds - segment.startSeconds);
    const auto position = heard.positionAt(event.ns);
    if (!position) continue;
    lead = std::max(lead, seconds - *position);
    if (event.stamp) {
      const double error = std::abs(seconds - *position) * 1000.0;
      figures.stampErrorsMs.push_back(error);
      figures.signedSumMs += (seconds - *position) * 1000.0;
      worst = std::max(worst, error);
      ++stamps;
    }
  }
  figures.leadMs = std::max(figures.leadMs, lead * 1000.0);
  figures.aheadBeforeSoundMs = std::max(figures.aheadBeforeSoundMs, beforeSound * 1000.0);
  std::printf(
      "  %.2fx from %5.2f s: sound %5.0f ms after the command; %2d stamps, worst %4.1f ms; "
      "lead over the heard position %.1f ms\n",
      segment.speed, segment.startSeconds, (*soundNs - segment.fromNs) / 1e6, stamps, worst,
      lead * 1000.0);
  return true;
}

double stepBackMs(const std::vector<Shown>& shown) {
  double worst = 0;
  for (std::size_t i = 1; i < shown.size(); ++i) {
    worst = std::max(worst, (shown[i - 1].hundredths - shown[i].hundredths) * 10.0);
  }
  return worst;
}

void report(const char* what, const Figures& figures) {
  const std::vector<double>& e = figures.stampErrorsMs;
  std::printf(
      "%s: stamps against the heard position over %zu stamps: median %.1f ms, p99 %.1f ms, max "
      "%.1f ms, mean signed %+.1f ms; largest lead of the shown time %.1f ms; shown ahead of the "
      "start before the sound "
      "%.0f ms; largest step back %.0f ms%s\n",
      what, e.size(), bench::percentile(e, 0.5), bench::percentile(e, 0.99),
      bench::percentile(e, 1.0),
      e.empty() ? 0.0 : figures.signedSumMs / static_cast<double>(e.size()), figures.leadMs,
      figures.aheadBeforeSoundMs, figures.stepBackMs,
      figures.unjudged > 0 ? " (some segments unjudged)" : "");
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
  if (!bench::soundServerReachable("heard_clock_speed_bench")) return 1;
  const auto dir = std::filesystem::temp_directory_path() / "lrc-bench-speed";
  std::filesystem::create_directories(dir);
  const std::string song = (dir / "clicks.mp3").string();
  if (!testsupport::ClickTrack::write(song, 16, true)) {
    std::printf("heard_clock_speed_bench: ffmpeg could not make the click track\n");
    return 1;
  }
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(song);
  testsupport::MonitorRecorder recorder;
  if (!bench::startRecording("heard_clock_speed_bench", recorder)) return 1;
  std::printf("heard_clock_speed_bench: recording %s.monitor; %d runs per speed\n",
              recorder.sinkName().c_str(), runs);

  Editor editor;
  editor.player.prepare();
  editor.controller.setCurrentSong(song, "clicks.mp3", playback::texts::mp3Format());
  std::mt19937 random(7);
  const auto pause = [](int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  };

  for (const double speed : {0.75, 0.5}) {
    Figures figures;
    std::printf("\nat %.2fx from Play:\n", speed);
    for (int run = 0; run < runs; ++run) {
      editor.shown.clear();
      editor.controller.setSpeed(speed);
      const std::int64_t playNs = SteadyClock::now();
      editor.controller.playSong();
      stampFor(editor, 6000, random);
      editor.controller.stopPlayback();
      const std::int64_t stopNs = SteadyClock::now();
      pause(300);
      figures.stepBackMs = std::max(figures.stepBackMs, stepBackMs(editor.shown));
      judge(recorder.recording(), onsets, editor.shown, {speed, playNs, stopNs, 0.0}, figures);
    }
    report(speed == 0.5 ? "0.5x" : "0.75x", figures);
  }

  Figures changes;
  std::printf("\nspeed changed while playing (1.0x, then 0.5x, then 0.75x):\n");
  for (int run = 0; run < runs; ++run) {
    editor.shown.clear();
    editor.controller.setSpeed(1.0);
    std::vector<Segment> segments{{1.0, SteadyClock::now(), 0, 0.0}};
    editor.controller.playSong();
    stampFor(editor, 2300 + 100 * run, random);
    for (const double speed : {0.5, 0.75}) {
      const std::int64_t changeNs = SteadyClock::now();
      editor.controller.setSpeed(speed);
      // The clock holds at the position the sound starts again from.
      const double target = editor.playClock.elapsedNs() / 1e9;
      segments.back().toNs = changeNs;
      segments.push_back({speed, changeNs, 0, target});
      stampFor(editor, 3000, random);
    }
    editor.controller.stopPlayback();
    segments.back().toNs = SteadyClock::now();
    pause(300);
    changes.stepBackMs = std::max(changes.stepBackMs, stepBackMs(editor.shown));
    for (const Segment& segment : segments) {
      judge(recorder.recording(), onsets, editor.shown, segment, changes);
    }
  }
  report("speed changes", changes);
  recorder.stop();
  for (const auto& shown : editor.prompter.shown) std::printf("message %s\n", shown.text.c_str());
  std::printf("(targets: stamps median <= 5 ms, p99 <= 10 ms; nothing ahead; no step back)\n");
  return 0;
}
