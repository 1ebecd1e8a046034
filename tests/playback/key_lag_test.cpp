// The key lag: presses matched to the sounds they answer, the stamps less the lag, the stored
// setting, and a measurement that borrows the song's player.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "playback/compensated_time_tags.h"
#include "playback/controller_rig.h"
#include "playback/key_lag_figures.h"
#include "playback/key_lag_measurement.h"
#include "playback/key_lag_setting.h"
#include "playback/playback_texts.h"
#include "support/fake_random_source.h"
#include "support/temp_dir.h"

using namespace playback;
using namespace playbacktest;

namespace {

// The moment of the press being handled, as the test sets it.
struct ScriptedInputMoments : platform::InputMoments {
  std::optional<std::int64_t> pressedNs;
  std::optional<std::int64_t> handledInputNs() const override { return pressedNs; }
};

}  // namespace

TEST(KeyLagFiguresTest, EachPressAnswersTheLastSoundHeardBeforeIt) {
  struct Case {
    const char* what;
    std::vector<double> sounds, presses;
    std::vector<double> lags;
    int stray, repeated, unanswered;
    std::optional<int> median;
    std::pair<int, int> middleHalf;
  };
  const Case cases[] = {
      {"every sound answered once", {1.0, 2.0, 3.5, 5.0}, {1.15, 2.2, 3.68, 5.17},
       {0.15, 0.2, 0.18, 0.17}, 0, 0, 0, 175, {165, 185}},
      {"a press before the first sound, and one too long after a sound",
       {1.0, 2.0}, {0.9, 1.95, 2.1}, {0.1}, 2, 0, 1, 100, {100, 100}},
      {"up to the window counts, beyond it not", {1.0, 3.0}, {1.6, 3.61}, {0.6}, 1, 0, 1, 600,
       {600, 600}},
      {"missed sounds", {1.0, 2.0, 3.0, 4.0}, {1.2, 3.26}, {0.2, 0.26}, 0, 0, 2, 230, {215, 245}},
      {"double presses count once", {1.0, 2.0}, {1.15, 1.25, 2.19, 2.2}, {0.15, 0.19}, 0, 2, 0,
       170, {160, 180}},
      {"presses come in any order", {1.0, 2.0}, {2.3, 1.1}, {0.1, 0.3}, 0, 0, 0, 200, {150, 250}},
      {"no press", {1.0}, {}, {}, 0, 0, 1, std::nullopt, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const KeyLagFigures figures = KeyLagFigures::match(c.sounds, c.presses);
    ASSERT_EQ(figures.lags.size(), c.lags.size());
    for (std::size_t i = 0; i < c.lags.size(); ++i) EXPECT_NEAR(figures.lags[i], c.lags[i], 1e-9);
    EXPECT_EQ(figures.stray, c.stray);
    EXPECT_EQ(figures.repeated, c.repeated);
    EXPECT_EQ(figures.unanswered, c.unanswered);
    EXPECT_EQ(figures.medianMs(), c.median);
    if (c.median) {
      EXPECT_EQ(figures.middleHalfMs(), c.middleHalf);
    }
    EXPECT_FALSE(figures.enough());
  }
  // Eight counted presses are enough to store; seven are not.
  std::vector<double> sounds, presses;
  for (int sound = 0; sound < 8; ++sound) {
    sounds.push_back(1.0 + sound);
    presses.push_back(1.2 + sound);
  }
  EXPECT_TRUE(KeyLagFigures::match(sounds, presses).enough());
  presses.pop_back();
  EXPECT_FALSE(KeyLagFigures::match(sounds, presses).enough());
}

TEST(KeyLagCompensationTest, TakesTheLagOffInSongTimeAndNeverBelowZero) {
  constexpr std::int64_t kMs = 1'000'000;
  // At 0.5x a lag of 180 ms of the listener's time is 90 ms of the song.
  EXPECT_EQ(PlayClock::lessLag(10'000 * kMs, 180 * kMs, 1.0), 9'820 * kMs);
  EXPECT_EQ(PlayClock::lessLag(10'000 * kMs, 180 * kMs, 0.75), 9'865 * kMs);
  EXPECT_EQ(PlayClock::lessLag(10'000 * kMs, 180 * kMs, 0.5), 9'910 * kMs);
  EXPECT_EQ(PlayClock::lessLag(100 * kMs, 180 * kMs, 1.0), 0);
  EXPECT_EQ(PlayClock::lessLag(80 * kMs, 180 * kMs, 0.5), 0);

  // Through the clock: the stamp is less the lag at the heard speed, the shown time is not.
  ControllerRig rig;
  KeyLagSetting keyLag;
  ScriptedInputMoments inputs;
  CompensatedTimeTags pressTags(rig.clock, keyLag, inputs, rig.now);
  rig.clock.start();
  rig.player.position = PositionSample{12.0, rig.now.now, true, 0.5};
  EXPECT_EQ(pressTags.currentTag(), "[00:12.00]");  // off: the clock's own tag
  // A key that waited 40 ms in the queue stamps its own moment, 20 ms of the song at 0.5x;
  // one stamped in the future waited nothing.
  inputs.pressedNs = rig.now.now - 40 * kMs;
  EXPECT_EQ(pressTags.currentTag(), "[00:11.98]");
  EXPECT_EQ(rig.tag.value(), "[00:12.00]");
  inputs.pressedNs = rig.now.now + 5 * kMs;
  EXPECT_EQ(pressTags.currentTag(), "[00:12.00]");
  inputs.pressedNs.reset();
  keyLag.storeLag(180);
  keyLag.storeEnabled(true);
  EXPECT_EQ(pressTags.currentTag(), "[00:11.91]");
  EXPECT_EQ(rig.tag.value(), "[00:12.00]");
  EXPECT_EQ(rig.display.tagCaption(), texts::tagCaptionPrefix() + "[00:12.00]");
  rig.player.position = PositionSample{0.05, rig.now.now, true, 1.0};
  EXPECT_EQ(pressTags.currentTag(), "[00:00.00]");
  // A halted clock answers no sound: its tag stays as it halted.
  rig.player.position = PositionSample{30.0, rig.now.now, true, 1.0};
  rig.clock.tick();
  rig.clock.halt();
  EXPECT_EQ(pressTags.currentTag(), "[00:30.00]");
}

TEST(KeyLagSettingTest, OutlastsTheRunAndRefusesWhatIsNoLag) {
  testsupport::TempDir home;
  const std::string folder = home.file("config/qinghe-lrc-editor");
  {
    KeyLagSetting first(folder);
    first.load();
    EXPECT_FALSE(first.lagMs());
    EXPECT_FALSE(first.enabled());
    EXPECT_TRUE(first.storeLag(180));
    EXPECT_FALSE(first.enabled());
    EXPECT_TRUE(first.storeEnabled(true));
  }
  KeyLagSetting setting(folder);
  setting.load();
  EXPECT_EQ(setting.lagMs(), 180);
  EXPECT_TRUE(setting.enabled());
  EXPECT_EQ(setting.compensationNs(), 180'000'000);

  const std::string file = folder + "/settings.ini";
  for (const char* text : {"abc", "501", "-1", "", "1 8", "1e2", "0x10", "99999"}) {
    SCOPED_TRACE(text);
    std::filesystem::remove(file);
    home.write("config/qinghe-lrc-editor/settings.ini",
               std::string("[other]\r\nkeep=1\r\n[key-lag]\r\nmilliseconds=") + text +
                   "\r\nenabled=1\r\n");
    setting.load();
    EXPECT_FALSE(setting.lagMs());
    EXPECT_FALSE(setting.enabled());
    EXPECT_EQ(setting.problem(), KeyLagSetting::Problem::BadLag);
    EXPECT_EQ(setting.refusedText(), text);
  }
  // A new lag replaces the bad one and keeps everything else of the file.
  EXPECT_TRUE(setting.storeLag(0));
  EXPECT_EQ(home.read("config/qinghe-lrc-editor/settings.ini"),
            "[other]\r\nkeep=1\r\n[key-lag]\r\nmilliseconds=0\r\nenabled=1\r\n");
  EXPECT_EQ(KeyLagSetting::parseLagMs(" 500 "), 500);

  // A file that cannot be read is no lag, and is never written over.
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  setting.load();
  EXPECT_EQ(setting.problem(), KeyLagSetting::Problem::Unreadable);
  EXPECT_FALSE(setting.enabled());
  platform::WriteStatus why = platform::WriteStatus::Ok;
  EXPECT_FALSE(setting.storeLag(120, &why));
  EXPECT_NE(why, platform::WriteStatus::Ok);
  EXPECT_EQ(setting.lagMs(), 120);  // held for this run all the same
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(KeyLagMeasurementTest, PlaysTheSoundsAt1xAndGivesThePausedSongBack) {
  ControllerRig rig;
  rig.controller.setCurrentSong("song.mp3", "song.mp3", texts::mp3Format());
  rig.controller.setSpeed(0.5);
  rig.controller.playSong();
  rig.player.position = PositionSample{42.0, rig.now.now, true, 0.5};
  rig.clock.tick();
  testsupport::FakeRandomSource random;
  random.numbers = {1800, 700, 1234};
  const std::vector<double> onsets = KeyLagMeasurement::planSounds(random);
  ASSERT_EQ(onsets.size(), 12u);
  EXPECT_EQ(std::vector<double>(onsets.begin(), onsets.begin() + 4),
            (std::vector<double>{1.0, 2.8, 3.5, 4.734}));
  EXPECT_EQ(random.ranges, (std::vector<std::pair<int, int>>(11, {700, 1800})));
  // A tick at each onset, after a 44-byte header of 16-bit mono frames.
  const std::string wav = KeyLagMeasurement::soundFileBytes(onsets);
  const auto frame = [&](double seconds) {
    const auto at = 44 + 2 * static_cast<std::size_t>(seconds * KeyLagMeasurement::kSampleRate);
    return static_cast<std::int16_t>(static_cast<unsigned char>(wav[at]) |
                                     static_cast<unsigned char>(wav[at + 1]) << 8);
  };
  EXPECT_EQ(wav.size(), 44u + 2 * static_cast<std::size_t>((onsets.back() + 1.0) * 44100));
  EXPECT_GT(frame(onsets[3] + 0.000125), 10000);
  EXPECT_EQ(frame(onsets[3] - 0.1), 0);

  int finished = 0;
  rig.player.calls.clear();
  KeyLagMeasurement measurement(rig.controller, rig.player, rig.now);
  measurement.start("sounds.wav", onsets, [&] { ++finished; });
  EXPECT_EQ(rig.controller.state(), PlaybackState::Paused);
  EXPECT_EQ(rig.player.calls,
            (std::vector<std::string>{"pause", "stop", "speed:100", "play:sounds.wav@0"}));
  EXPECT_EQ(rig.player.listener, &measurement);
  for (const double onset : onsets) {
    rig.player.position = PositionSample{onset + 0.17, rig.now.now, true, 1.0};
    measurement.press();
  }
  rig.player.calls.clear();
  rig.player.listener->onPlayProgress(100);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(measurement.outcome(), KeyLagMeasurement::Outcome::Done);
  EXPECT_EQ(measurement.figures().medianMs(), 170);
  EXPECT_EQ(measurement.figures().counted(), 12);
  // The song is back where it was heard, paused, at its speed.
  EXPECT_EQ(rig.player.calls,
            (std::vector<std::string>{"stop", "speed:50", "play:song.mp3@42", "pause"}));
  EXPECT_EQ(rig.player.listener, &rig.controller);
  EXPECT_EQ(rig.tag.value(), "[00:42.00]");
  // Once ended, presses no longer count.
  measurement.press();
  EXPECT_EQ(measurement.presses(), 12);
}

TEST(KeyLagMeasurementTest, APressCountsAtTheMomentItWasMade) {
  ControllerRig rig;
  KeyLagMeasurement measurement(rig.controller, rig.player, rig.now);
  const std::vector<double> onsets = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0};
  measurement.start("sounds.wav", onsets, [] {});
  for (const double onset : onsets) {
    // Handled 0.25 s after the sound, but pressed 0.15 s after it.
    rig.player.position = PositionSample{onset + 0.25, rig.now.now, true, 1.0};
    measurement.press(rig.now.now - 100'000'000);
  }
  rig.player.listener->onPlayProgress(100);
  EXPECT_EQ(measurement.figures().medianMs(), 150);
}

TEST(InputEventTimeTest, ReadsTheWindowSystemsMillisecondsOnTheSteadyClock) {
  constexpr std::int64_t kMs = 1'000'000;
  // Now is 5'000'000'000.3 ms of the monotonic clock: its 32-bit count has wrapped once.
  const std::int64_t now = 5'000'000'000LL * kMs + 300'000;
  const std::uint64_t nowStamp = 5'000'000'000ULL % (1ULL << 32);
  struct Case {
    const char* what;
    std::uint64_t stamp;
    std::optional<std::int64_t> moment;
  };
  const Case cases[] = {
      {"stamped 12 ms ago", nowStamp - 12, now - 300'000 - 12 * kMs + kMs / 2},
      {"stamped in this millisecond: not after now", nowStamp, now},
      {"a millisecond ahead: another reading of the same clock", nowStamp + 1, now},
      {"waited as long as is believable", nowStamp - 250, now - 300'000 - 250 * kMs + kMs / 2},
      {"older: another clock", nowStamp - 251, std::nullopt},
      {"ahead: another clock", nowStamp + 2, std::nullopt},
      {"a synthetic event", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(platform::inputEventSteadyNs(c.stamp, now), c.moment);
  }
  // Across the wrap: stamped just before the count went round, handled just after it.
  const std::int64_t afterWrap = (1LL << 32) * kMs + 3 * kMs;
  EXPECT_EQ(platform::inputEventSteadyNs((1ULL << 32) - 5, afterWrap),
            afterWrap - 8 * kMs + kMs / 2);
}
