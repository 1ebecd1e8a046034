// The play clock against what a real PulseAudio sink plays, recorded from the sink's monitor.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/monotonic_clock.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/playback_controller.h"
#include "playback/playback_fakes.h"
#include "playback/playback_texts.h"
#include "support/click_track.h"
#include "support/fake_interval_timer.h"
#include "support/heard_timeline.h"
#include "support/monitor_recorder.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace playback;
using namespace playbacktest;

namespace {

// Keeps the event loop running for `ms` while `every` runs every `periodMs`.
void runFor(int ms, int periodMs, const std::function<void()>& every) {
  QEventLoop loop;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick, &QTimer::timeout, &loop, every);
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  tick.start(periodMs);
  loop.exec();
}

double tagSeconds(const std::string& tag) {
  return std::stoi(tag.substr(1, 2)) * 60.0 + std::stoi(tag.substr(4, 2)) +
         std::stoi(tag.substr(7, 2)) / 100.0;
}

// The editor's playback objects around the real player, as the bindings make them, with the
// click track `song` as the current song.
struct EditorPlayback {
  explicit EditorPlayback(const std::string& song) {
    controller.setCurrentSong(song, "clicks.mp3", texts::mp3Format());
  }

  MpvAudioPlayer player;
  testsupport::FakeIntervalTimer timer;
  lyrics::CurrentTimeTag tag;
  PlaybackDisplay display;
  lyrics::StatusBar status;
  lyrics::HeaderFields header;
  SongRow row;
  platform::SteadyClock steady;
  PlayClock clock{timer, tag, display, status, player, steady};
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingClipboard clipboard;
  PlaybackController controller{row,    header,   status,  display,  clock,
                                player, prompter, dialogs, clipboard};
};

}  // namespace

// Plays a click track at `speed` through the editor's player, made ready by `prepare`, stamping
// every 10 ms while the sink's monitor is recorded. Nothing may be stamped ahead of the sound,
// and a stamp 0.3 s after the first sound reads the heard position in song time. Gives how long
// after Play the first sound came, in seconds, in `toSound` (left alone when nothing was heard).
void stampAgainstTheMonitor(const std::function<void(MpvAudioPlayer&)>& prepare,
                            double* toSound = nullptr, double speed = 1.0) {
  if (!testsupport::MonitorRecorder::serverReachable()) {
    GTEST_SKIP() << "no PulseAudio server is reachable; `bash scripts/services.sh start` starts "
                    "the tests' own (CI starts it, so this test runs there)";
  }
  testsupport::TempDir dir;
  const std::string song = dir.file("clicks.mp3");
  ASSERT_TRUE(testsupport::ClickTrack::write(song, 4)) << "ffmpeg could not make the click track";
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(song);
  ASSERT_GE(onsets.size(), 3u);

  testsupport::MonitorRecorder recorder;
  std::string error;
  ASSERT_TRUE(recorder.start(&error)) << error;

  // The editor's player with its own choice of output.
  EditorPlayback rig{song};
  prepare(rig.player);
  auto& clock = rig.clock;
  auto& controller = rig.controller;
  auto& prompter = rig.prompter;
  controller.setSpeed(speed);

  struct Stamp {
    std::int64_t ns;
    double seconds;
  };
  std::vector<Stamp> stamps;
  const std::int64_t playNs = platform::SteadyClock::now();
  controller.playSong();
  // A stamp every 10 ms for 1.2 s of the song, each the way AddTimeTag takes it.
  const int runMs = static_cast<int>(1200 / speed);
  runFor(runMs, 10, [&] {
    const std::string stamped = clock.currentTag();
    stamps.push_back({platform::SteadyClock::now(), tagSeconds(stamped)});
  });
  controller.stopPlayback();
  const std::int64_t stopNs = platform::SteadyClock::now();
  runFor(200, 50, [] {});
  recorder.stop();
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text;

  const testsupport::Recording recording = recorder.recording();
  const testsupport::HeardTimeline heard(recording, onsets, playNs, stopNs, 0.0, speed);
  ASSERT_EQ(heard.problem(), "") << "recorded from " << recorder.sinkName() << ".monitor";
  ASSERT_TRUE(heard.firstSoundNs()) << "nothing was heard within " << runMs << " ms of Play";
  const std::int64_t soundNs = *heard.firstSoundNs();
  if (toSound != nullptr) *toSound = (soundNs - playNs) / 1e9;

  const std::int64_t targetNs = soundNs + 300'000'000;
  const Stamp* nearest = nullptr;
  for (const Stamp& stamp : stamps) {
    if (nearest == nullptr ||
        std::llabs(stamp.ns - targetNs) < std::llabs(nearest->ns - targetNs)) {
      nearest = &stamp;
    }
    // Nothing is shown ahead while nothing is heard yet.
    if (stamp.ns < soundNs - 5'000'000) {
      EXPECT_EQ(stamp.seconds, 0.0) << "before the sound";
    }
  }
  ASSERT_NE(nearest, nullptr);
  ASSERT_LT(std::llabs(nearest->ns - targetNs), 15'000'000) << "no stamp near 0.3 s";
  const double sinceSound = (nearest->ns - soundNs) / 1e9 * speed;
  EXPECT_NEAR(nearest->seconds, sinceSound, 0.03)
      << "first sound " << (soundNs - playNs) / 1e6 << " ms after Play";
  // Where the recording has a gap (a loaded machine drops monitor frames) the timeline cannot
  // say what was heard at that moment; the check against the first sound above still holds.
  if (const auto heardThen = heard.positionAt(nearest->ns)) {
    EXPECT_NEAR(nearest->seconds, *heardThen, 0.03);
  }
  for (std::size_t index = 1; index < stamps.size(); ++index) {
    EXPECT_GE(stamps[index].seconds, stamps[index - 1].seconds) << "the stamps stepped back";
  }
}

TEST(MpvPulseAudio, AStampAFewTenthsAfterTheFirstSoundReadsTheHeardPosition) {
  stampAgainstTheMonitor([](MpvAudioPlayer& player) { player.prepare(); });
}

// The editor starts making the core on a thread of its own; a Play at once must neither come late
// nor show a time before the song is heard.
TEST(MpvPulseAudio, APlayRightAfterStartSoundsAtOnceAndShowsNothingBeforeTheSound) {
  double toSound = -1;
  stampAgainstTheMonitor([](MpvAudioPlayer& player) { player.prepareInBackground(); }, &toSound);
  if (toSound >= 0) {
    EXPECT_LT(toSound, 0.4) << "the first sound came late after Play";
  }
}

// At half speed a click heard 0.3 s after the first sound is 0.15 s into the song: the stamp
// says so, to the hundredth, and nothing is shown ahead of the sound.
TEST(MpvPulseAudio, AtHalfSpeedAStampReadsTheHeardPositionInSongTime) {
  stampAgainstTheMonitor([](MpvAudioPlayer& player) { player.prepare(); }, nullptr, 0.5);
}

// A jump on, then a jump back, while the sink's monitor is recorded: from the jump until the
// target is heard every stamp reads the target (never the old position, never ahead), and a
// stamp 0.3 s after the target is heard reads the heard position.
TEST(MpvPulseAudio, AStampAfterAJumpReadsTheHeardPositionFromTheTarget) {
  if (!testsupport::MonitorRecorder::serverReachable()) {
    GTEST_SKIP() << "no PulseAudio server is reachable; `bash scripts/services.sh start` starts "
                    "the tests' own";
  }
  testsupport::TempDir dir;
  const std::string song = dir.file("clicks.mp3");
  ASSERT_TRUE(testsupport::ClickTrack::write(song, 10)) << "ffmpeg could not make the click track";
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(song);
  testsupport::MonitorRecorder recorder;
  std::string error;
  ASSERT_TRUE(recorder.start(&error)) << error;

  EditorPlayback rig{song};
  rig.player.prepare();
  auto& clock = rig.clock;
  auto& controller = rig.controller;
  auto& prompter = rig.prompter;

  struct Stamp {
    std::int64_t ns;
    double seconds;
  };
  std::vector<Stamp> stamps;
  const auto stampFor = [&](int ms) {
    runFor(ms, 10, [&] {
      const std::string stamped = clock.currentTag();
      stamps.push_back({platform::SteadyClock::now(), tagSeconds(stamped)});
    });
  };
  controller.playSong();
  // Jumps come half a second away from the clicks, so the old sound still heard has none.
  const auto waitUntilHeardAt = [&](double seconds) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (clock.elapsedNs() >= seconds * 1e9) loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    poll.start(2);
    loop.exec();
    EXPECT_GE(clock.elapsedNs(), seconds * 1e9) << "waited 5 s for the song to reach " << seconds;
  };
  waitUntilHeardAt(1.5);
  struct Jump {
    double target;
    std::int64_t ns = 0, untilNs = 0;
  };
  Jump jumps[] = {{6.6}, {2.6}};
  jumps[0].ns = platform::SteadyClock::now();
  controller.playFrom(jumps[0].target);
  stampFor(1000);
  waitUntilHeardAt(7.5);
  jumps[0].untilNs = jumps[1].ns = platform::SteadyClock::now();
  controller.playFrom(jumps[1].target);
  stampFor(1000);
  jumps[1].untilNs = platform::SteadyClock::now();
  controller.stopPlayback();
  runFor(200, 50, [] {});
  recorder.stop();
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text;

  const testsupport::Recording recording = recorder.recording();
  for (const Jump& jump : jumps) {
    SCOPED_TRACE(jump.target);
    const testsupport::HeardTimeline heard(recording, onsets, jump.ns, jump.untilNs, jump.target);
    ASSERT_EQ(heard.problem(), "") << "recorded from " << recorder.sinkName() << ".monitor";
    const auto targetNs = heard.heardNs(jump.target);
    ASSERT_TRUE(targetNs) << "no click was heard after the jump";
    const Stamp* nearest = nullptr;
    for (const Stamp& stamp : stamps) {
      if (stamp.ns < jump.ns || stamp.ns >= jump.untilNs) continue;
      if (stamp.ns < *targetNs - 5'000'000) {
        EXPECT_EQ(stamp.seconds, jump.target) << "before the target was heard";
      }
      if (nearest == nullptr || std::llabs(stamp.ns - (*targetNs + 300'000'000)) <
                                    std::llabs(nearest->ns - (*targetNs + 300'000'000))) {
        nearest = &stamp;
      }
    }
    for (const Stamp& stamp : stamps) {
      if (stamp.ns < jump.ns || stamp.ns >= jump.untilNs) continue;
      if (getenv("JUMPDBG") && heard.positionAt(stamp.ns)) fprintf(stderr, "DBG %.1f t=%+.1f ms read=%.2f herr=%+.1f\n", jump.target, (stamp.ns - *targetNs) / 1e6, stamp.seconds, (stamp.seconds - *heard.positionAt(stamp.ns)) * 1e3);
    }
    ASSERT_NE(nearest, nullptr);
    ASSERT_LT(std::llabs(nearest->ns - (*targetNs + 300'000'000)), 15'000'000)
        << "no stamp near 0.3 s after the target was heard, "
        << (*targetNs - jump.ns) / 1e6 << " ms after the jump";
    // The heard position comes from the recorded clicks, across any break of the sound: counting
    // on from the target at the pace of the wall clock is off by whatever the output lost.
    const auto heardThen = heard.positionAt(nearest->ns);
    ASSERT_TRUE(heardThen) << "the recording cannot tell what was heard 0.3 s after the target";
    EXPECT_NEAR(nearest->seconds, *heardThen, 0.03);
  }
}
