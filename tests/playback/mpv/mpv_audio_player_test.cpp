#include "playback/mpv/mpv_audio_player.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numeric>

#include "platform/file_io.h"
#include "playback/playback_controller.h"
#include "playback/playback_fakes.h"
#include "support/fake_interval_timer.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace playback;
using namespace playbacktest;

namespace {

// Runs the event loop until `done` holds or `timeoutMs` passes; generous on a busy machine.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30'000) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  poll.start(5);
  loop.exec();
  return done();
}

// Keeps the event loop running for `ms`, so late reports would arrive.
void runEvents(int ms) {
  waitUntil([] { return false; }, ms);
}

// Speech files made once for the whole program: mp3 and wma of a few seconds, a song with a
// Chinese name, and a text file named .mp3.
struct Songs {
  testsupport::TempDir dir;
  std::string mp3, wma, chinese, fakeMp3, missing;
  bool ok = false;

  Songs() {
    const std::string wav = dir.file("speech.wav");
    mp3 = dir.file("speech.mp3");
    wma = dir.file("speech.wma");
    const std::string make =
        "espeak-ng -w '" + wav + "' 'one two three four five six seven eight' && " +
        "ffmpeg -loglevel error -y -i '" + wav + "' -c:a libmp3lame '" + mp3 + "' && " +
        "ffmpeg -loglevel error -y -i '" + wav + "' -c:a wmav2 '" + wma + "'";
    ok = std::system(make.c_str()) == 0;
    chinese = platform::gbkPath(dir.path().string()) + "/歌手-歌曲.mp3";
    std::filesystem::copy_file(mp3, platform::nativePath(chinese));
    fakeMp3 = dir.write("notes.mp3", "these are lyrics, not audio\r\n");
    missing = dir.file("missing.mp3");
  }
  static Songs& get() {
    static Songs songs;
    return songs;
  }
};

// Records what the player reports.
struct RecordingListener : PlaybackListener {
  void onPlayProgress(int percent) override { reports.push_back(percent); }
  void onPlayError(playback::PlayError error) override {
    ++errors;
    lastError = error;
  }
  bool ended() const { return !reports.empty() && reports.back() == 100; }
  std::vector<int> reports;
  int errors = 0;
  playback::PlayError lastError = playback::PlayError::BadFile;
};

std::vector<int> zeroToHundred() {
  std::vector<int> all(101);
  std::iota(all.begin(), all.end(), 0);
  return all;
}

struct MpvPlayerTest : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(Songs::get().ok) << "espeak-ng or ffmpeg failed"; }
  Songs& songs = Songs::get();
};

// The whole playback stack on the real player, with a fake tick timer.
struct MpvControllerTest : MpvPlayerTest {
  explicit MpvControllerTest(bool untimed = true) : player({"null", untimed}) {
    status.addListener([this](int part) {
      if (part == lyrics::StatusBar::Progress) progressTexts.push_back(status.text(part));
    });
  }
  testsupport::FakeIntervalTimer timer;
  lyrics::CurrentTimeTag tag;
  PlaybackDisplay display;
  lyrics::StatusBar status;
  lyrics::HeaderFields header;
  SongRow song;
  MpvAudioPlayer player;
  platform::SteadyClock now;
  PlayClock clock{timer, tag, display, status, player, now};
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingClipboard clipboard;
  PlaybackController controller{song,   header,   status,  display,  clock,
                                player, prompter, dialogs, clipboard};
  std::vector<std::string> progressTexts;

  void expectReset() {
    EXPECT_EQ(timer.interval(), 0);
    EXPECT_EQ(display.progress(), 0);
    EXPECT_EQ(display.pauseCaption(), "暂停");
    EXPECT_EQ(display.tagCaption(), "加入标签[00:00.00]");
    EXPECT_EQ(status.text(lyrics::StatusBar::PlayTime), "播放时间:[00:00.00]");
    EXPECT_EQ(status.text(lyrics::StatusBar::Progress), "播放进度:00%");
    EXPECT_FALSE(player.heardPosition());
  }
};

struct MpvTimedControllerTest : MpvControllerTest {
  MpvTimedControllerTest() : MpvControllerTest(false) {}
};

}  // namespace

TEST_F(MpvPlayerTest, Mp3AndWmaPlayToTheEndWithEveryPercentInOrderAndOneHundred) {
  MpvAudioPlayer player({"null", true});
  ASSERT_TRUE(player.isReady());
  for (const std::string& file : {songs.mp3, songs.wma}) {
    RecordingListener listener;
    player.play(file, 0.0, listener);
    ASSERT_TRUE(waitUntil([&] { return listener.ended(); })) << file;
    runEvents(300);
    EXPECT_EQ(listener.reports, zeroToHundred()) << file;
    EXPECT_EQ(listener.errors, 0);
    EXPECT_FALSE(player.heardPosition());
  }
}

TEST_F(MpvPlayerTest, AMissingSoundOutputIsNotBlamedOnTheFile) {
  // A machine without sound: no PulseAudio or PipeWire server answers, and ALSA with an empty
  // configuration knows no device at all. Both the editor's own choice of outputs and a single
  // output must say so.
  testsupport::TempDir dir;
  const std::pair<const char*, std::string> environment[] = {
      {"PULSE_SERVER", "unix:" + dir.file("no-pulse-server")},
      {"PIPEWIRE_REMOTE", dir.file("no-pipewire-server")},
      {"JACK_NO_START_SERVER", "1"},
      {"SDL_AUDIODRIVER", "none"},
      {"ALSA_CONFIG_PATH", dir.write("empty.conf", "")},
  };
  for (const auto& [name, value] : environment) ::setenv(name, value.c_str(), 1);
  for (const std::string& output : {std::string("alsa"), MpvPlayerOptions{}.audioOutput}) {
    MpvAudioPlayer player({output, false});
    ASSERT_TRUE(player.isReady()) << output;
    RecordingListener listener;
    player.play(songs.mp3, 0.0, listener);
    ASSERT_TRUE(waitUntil([&] { return listener.errors > 0; })) << output;
    EXPECT_EQ(listener.lastError, playback::PlayError::NoAudioOutput) << output;
    EXPECT_TRUE(listener.reports.empty() || listener.reports.back() != 100);
    EXPECT_FALSE(player.heardPosition()) << output;
  }
  for (const auto& entry : environment) ::unsetenv(entry.first);
}

TEST_F(MpvPlayerTest, PlayingAgainRestartsFromTheBeginning) {
  MpvAudioPlayer player({"null", false});
  RecordingListener first;
  player.play(songs.mp3, 0.0, first);
  ASSERT_TRUE(
      waitUntil([&] { return player.heardPosition() && player.heardPosition()->seconds > 0.8; }));
  const std::size_t firstReports = first.reports.size();
  EXPECT_GT(firstReports, 1u);

  RecordingListener second;
  player.play(songs.mp3, 0.0, second);
  ASSERT_TRUE(player.heardPosition());
  EXPECT_LT(player.heardPosition()->seconds, 0.01);
  ASSERT_TRUE(waitUntil([&] { return second.ended(); }));
  runEvents(200);
  EXPECT_EQ(first.reports.size(), firstReports);  // the replaced playback reports nothing more
  EXPECT_EQ(second.reports, zeroToHundred());
}

// A seek back holds at its target until mpv plays from there, the percentages go on from where
// it went, and the end still comes exactly once; a seek stops at the song's end.
TEST_F(MpvPlayerTest, ASeekBackIsFollowedByTheProgressAndTheEndStillComesOnce) {
  MpvAudioPlayer player({"null", false});
  RecordingListener listener;
  player.play(songs.mp3, 0.0, listener);
  ASSERT_TRUE(waitUntil([&] { return listener.reports.size() >= 40; }))
      << "40 percentages within 30 s";
  ASSERT_TRUE(player.seek(0.25));
  const std::size_t before = listener.reports.size();
  ASSERT_TRUE(player.heardPosition());
  EXPECT_EQ(player.heardPosition()->positionNsAt(platform::SteadyClock::now()), 250'000'000);
  ASSERT_TRUE(waitUntil([&] { return listener.ended(); })) << "the end within 30 s";
  runEvents(200);
  ASSERT_GT(listener.reports.size(), before);
  const std::vector<int> after(listener.reports.begin() + static_cast<long>(before),
                               listener.reports.end());
  EXPECT_LT(after.front(), 20) << "the first percentage after the seek";
  for (std::size_t i = 1; i < after.size(); ++i) EXPECT_EQ(after[i], after[i - 1] + 1);
  EXPECT_EQ(std::count(listener.reports.begin(), listener.reports.end(), 100), 1);
  EXPECT_EQ(listener.errors, 0);
  EXPECT_FALSE(player.seek(1.0)) << "nothing plays";

  // Paused past the end, it stands at the end until it goes on and ends.

  RecordingListener past;
  player.play(songs.mp3, 0.0, past);
  ASSERT_TRUE(waitUntil([&] { return !past.reports.empty(); })) << "a percentage within 30 s";
  player.pause();
  const auto went = player.seek(1000.0);
  ASSERT_TRUE(went);
  EXPECT_LT(*went, 10.0) << "the song's end";
  runEvents(300);
  EXPECT_FALSE(past.ended());
  player.resume();
  ASSERT_TRUE(waitUntil([&] { return past.ended(); })) << "the end within 30 s";
  runEvents(200);
  EXPECT_EQ(std::count(past.reports.begin(), past.reports.end(), 100), 1);
  EXPECT_EQ(past.errors, 0);
}

TEST_F(MpvControllerTest, ASongWithAChineseNamePlaysToItsEndAndResets) {
  dialogs.choice = songs.chinese;
  controller.openAudioFile();
  EXPECT_EQ(header.text(lyrics::HeaderFields::Singer), "歌手");
  controller.playSong();
  EXPECT_EQ(timer.interval(), PlayClock::kTickMs);
  ASSERT_TRUE(waitUntil([&] {
    return progressTexts.size() >= 2 && display.progress() == 0 && timer.interval() == 0;
  }));
  ASSERT_GE(progressTexts.size(), 101u);
  EXPECT_EQ(progressTexts.front(), "播放进度:00%");
  EXPECT_EQ(progressTexts[99], "播放进度:99%");
  EXPECT_EQ(progressTexts.back(), "播放进度:00%");
  expectReset();
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MpvTimedControllerTest, PauseHoldsTheSongAndTheClockAndStopWhilePausedResets) {
  dialogs.choice = songs.mp3;
  controller.openAudioFile();
  controller.playSong();
  ASSERT_TRUE(waitUntil([&] { return player.currentTimePos().value_or(0) > 0.5; }));
  controller.togglePause();
  ASSERT_EQ(display.pauseCaption(), "继续");
  clock.tick();
  const std::string pausedTag = tag.value();
  const double pausedAt = player.currentTimePos().value_or(-1);
  runEvents(500);
  EXPECT_NEAR(player.currentTimePos().value_or(-1), pausedAt, 0.05);
  clock.tick();
  EXPECT_EQ(tag.value(), pausedTag);
  // The clock agrees with the audio within a few hundredths.
  EXPECT_NEAR(static_cast<double>(clock.elapsedHundredths()), pausedAt * 100, 5.0);

  controller.togglePause();
  EXPECT_EQ(display.pauseCaption(), "暂停");
  ASSERT_TRUE(waitUntil([&] { return player.currentTimePos().value_or(0) > pausedAt + 0.3; }));
  EXPECT_GT(clock.elapsedHundredths(), pausedAt * 100 + 25);
  clock.tick();
  const std::string lastTag = tag.value();
  EXPECT_GT(lastTag, pausedTag);

  controller.togglePause();
  controller.stopPlayback();
  const std::size_t reportsAtStop = progressTexts.size();
  runEvents(600);
  EXPECT_EQ(progressTexts.size(), reportsAtStop);
  expectReset();
  EXPECT_EQ(tag.value(), lastTag);  // a stamp after the stop gets the halted time
}

TEST_F(MpvControllerTest, MissingFilesAndNonAudioStopAndReport) {
  for (const std::string& file : {songs.missing, songs.fakeMp3}) {
    prompter.shown.clear();
    song.setRow({"t", "", "mp3格式", "正常", file});
    controller.playSong();
    ASSERT_TRUE(waitUntil([&] { return !prompter.shown.empty(); })) << file;
    EXPECT_EQ(prompter.shown[0].text, "错误文件");
    EXPECT_EQ(prompter.shown[0].title, "tolva_错误文件");
    EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Error);
    expectReset();
    runEvents(200);
    EXPECT_EQ(prompter.shown.size(), 1u);
  }
  // The player still works afterwards.
  dialogs.choice = songs.wma;
  controller.openAudioFile();
  progressTexts.clear();
  controller.playSong();
  // "播放进度:00%" is showing already, so the first report changes no text.
  ASSERT_TRUE(waitUntil([&] { return progressTexts.size() >= 100 && timer.interval() == 0; }));
  EXPECT_EQ(progressTexts[98], "播放进度:99%");
  EXPECT_EQ(progressTexts.back(), "播放进度:00%");
}

// Run by its own CTest entry with LC_ALL=zh_CN.UTF-8.
TEST(MpvLocale, PlaysUnderAChineseLocale) {
  std::setlocale(LC_ALL, "");
  const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
  if (numeric.find("zh_CN") == std::string::npos) {
    GTEST_SKIP() << "zh_CN.UTF-8 is not installed (LC_NUMERIC is " << numeric
                 << "); scripts/test.sh generates it";
  }
  ASSERT_TRUE(Songs::get().ok);
  MpvAudioPlayer player({"null", true});
  ASSERT_TRUE(player.isReady()) << "mpv did not start under " << numeric;
  RecordingListener listener;
  player.play(Songs::get().mp3, 0.0, listener);
  ASSERT_TRUE(waitUntil([&] { return listener.ended(); }));
  EXPECT_EQ(listener.errors, 0);
}

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

TEST_F(MpvTimedControllerTest, ASongDeletedOrCutShortWhilePlayingEndsCleanly) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> spoil;
  } cases[] = {
      {"deleted", [](const std::string& path) { std::filesystem::remove(path); }},
      // Rewritten in place with nothing in it, as an unfinished copy over it would leave it.
      {"cut short", [](const std::string& path) { std::filesystem::resize_file(path, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    const std::string path = dir.file("song.mp3");
    std::filesystem::copy_file(songs.mp3, path);
    prompter.shown.clear();
    song.setRow({"song", "", "mp3格式", "正常", path});
    controller.playSong();
    ASSERT_TRUE(waitUntil([&] { return player.currentTimePos().value_or(0) > 0.4; }));
    c.spoil(path);
    // Whether the player still had the sound or met the hole, the song ends and the clock
    // stops as at the end of a song: nothing keeps running over silence.
    ASSERT_TRUE(waitUntil([&] { return timer.interval() == 0; }, 20'000));
    expectReset();
    runEvents(300);
    EXPECT_LE(prompter.shown.size(), 1u);
    if (!prompter.shown.empty()) {
      EXPECT_EQ(prompter.shown[0].text, "错误文件");
    }

    // The next Play finds no song there and says so, as for any file it cannot play.
    prompter.shown.clear();
    controller.playSong();
    ASSERT_TRUE(waitUntil([&] { return !prompter.shown.empty(); }));
    EXPECT_EQ(prompter.shown[0].text, "错误文件");
    EXPECT_EQ(prompter.shown[0].title, "tolva_错误文件");
    expectReset();
  }
}
