#include "playback/test_play.h"

#include <gtest/gtest.h>

#include "playback/controller_rig.h"
#include "playback/preview_match.h"
#include "support/fake_interval_timer.h"
#include "support/fake_random_source.h"
#include "support/temp_dir.h"

using namespace playback;
using namespace playbacktest;
using lyrics::StatusBar;

namespace {

const std::string kFallback = "青禾歌词编辑器—写歌词就这么简单、music~";

TEST(PreviewMatch, TheLastLineOfTheClocksSecondWinsWithTheTextAfterItsFirstTag) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string tag;
    int index;  // -1: no match
    std::string text;
  };
  const std::vector<std::string> helloWorld = {"[00:01.50]Hello", "[00:02.00]World"};
  const std::vector<Case> cases = {
      {"a line is current from the start of its second", helloWorld, "[00:01.00]", 0, "Hello"},
      {"and through that second", helloWorld, "[00:01.99]", 0, "Hello"},
      {"the next second switches", helloWorld, "[00:02.00]", 1, "World"},
      {"before the first tag nothing matches", helloWorld, "[00:00.99]", -1, ""},
      {"minutes take part", helloWorld, "[01:01.50]", -1, ""},
      {"two lines in one second: the later one",
       {"[00:05.10]A", "[00:05.90]B"},
       "[00:05.00]",
       1,
       "B"},
      {"list order, not tag order, decides", {"[00:05.90]B", "[00:05.10]A"}, "[00:05.95]", 1, "A"},
      {"a line that is only a tag", {"[00:03.00]"}, "[00:03.42]", 0, kFallback},
      {"a line without any ]", {"[00:03 and on"}, "[00:03.00]", 0, kFallback},
      {"a short tag matches too", {"[00:04]Short"}, "[00:04.77]", 0, "Short"},
      {"two tags show the second one as text",
       {"[00:06.00][00:08.00]Twice"},
       "[00:06.10]",
       0,
       "[00:08.00"},
      {"and the second tag never makes the line current",
       {"[00:06.00][00:08.00]Twice"},
       "[00:08.00]",
       -1,
       ""},
      {"an empty piece between two ] is the text", {"[00:10]]tail"}, "[00:10.00]", 0, ""},
      {"header lines never match", {"[ti:Song]", "[00:07]x"}, "[00:07.00]", 1, "x"},
      {"a line shorter than the key", {"[00:0"}, "[00:07.00]", -1, ""},
      // 0x5D ("]") as the second byte of a double-byte character is not a separator.
      {"double-byte aware split",
       {"[00:09.00]\xC4\x5D\xC4\x5D"
        "end]tail"},
       "[00:09.50]",
       0,
       "\xC4\x5D\xC4\x5D"
       "end"},
      {"an empty list", {}, "[00:00.00]", -1, ""},
  };
  for (const Case& c : cases) {
    lyrics::LyricsList list;
    list.replaceAll(c.lines);
    const auto match = matchPreviewLine(list, c.tag);
    if (c.index < 0) {
      EXPECT_FALSE(match.has_value()) << c.what;
      continue;
    }
    ASSERT_TRUE(match.has_value()) << c.what;
    EXPECT_EQ(match->index, c.index) << c.what;
    EXPECT_EQ(match->text, c.text) << c.what;
  }
}

// A timer that writes its name and every interval it is given into the log.
class NamedTimer : public platform::IntervalTimer {
 public:
  NamedTimer(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}
  void setInterval(int milliseconds) override {
    m_interval = milliseconds > 0 ? milliseconds : 0;
    m_log.push_back(m_name + ":" + std::to_string(m_interval));
  }
  int interval() const override { return m_interval; }

 private:
  std::string m_name;
  Log& m_log;
  int m_interval = 0;
};

// Remembers the controls' state and logs every change.
class RecordingTestPlayView : public TestPlayView {
 public:
  explicit RecordingTestPlayView(Log& log) : m_log(log) {}
  bool closePictureVisible() const override { return closePicture; }
  void setClosePictureVisible(bool visible) override { set("close", closePicture, visible); }
  void setDisplayVisible(bool visible) override { set("display", display, visible); }
  void setOpenPictureVisible(bool visible) override { set("open", openPicture, visible); }
  void setVolumePictureVisible(bool visible) override { set("volume", volumePicture, visible); }
  void setDisplayText(const std::string& value) override {
    text = value;
    ++textWrites;
  }
  void setDisplayColour(std::uint32_t value) override { colour = value; }

  bool closePicture = false, display = false, openPicture = true, volumePicture = true;
  std::string text = "before";
  int textWrites = 0;
  std::uint32_t colour = 0;

 private:
  void set(const char* name, bool& flag, bool visible) {
    flag = visible;
    m_log.push_back(std::string("view:") + name + "=" + (visible ? "1" : "0"));
  }
  Log& m_log;
};

struct TestPlayFixture : ::testing::Test, ControllerRig {
  lyrics::LyricsList list;
  RecordingTestPlayView view{log};
  testsupport::FakeRandomSource random;
  NamedTimer syncTimer{"sync", log};
  NamedTimer colourTimer{"colour", log};
  TestPlay testPlay{
      {view, list, tag, song, clock, controller, prompter, random, syncTimer, colourTimer},
      [this] { log.push_back("curtain:close"); },
      [this] { log.push_back("curtain:open"); }};
  testsupport::TempDir dir;
  std::string songPath = dir.write("song.mp3", "ID3");

  void setSong(const std::string& path, const std::string& format = "mp3格式") {
    SongRow::Cells cells;
    cells[SongRow::Format] = format;
    cells[SongRow::Path] = path;
    song.setRow(cells);
  }
};

}  // namespace

TEST_F(TestPlayFixture, WithoutASongOrWithItsFileGoneNothingStarts) {
  testPlay.startTestPlay();
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(prompter.shown.empty());

  setSong(dir.file("deleted.mp3"));
  testPlay.startTestPlay();
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "歌曲文件路径不存在，或以删除。");
  EXPECT_EQ(prompter.shown[0].title, "");  // the prompter's default title "信息："
  EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_FALSE(prompter.shown[0].question);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(view.openPicture && view.volumePicture);
}

TEST_F(TestPlayFixture, StartRestartsTheSongWithTheSyncAndClosesTheCurtain) {
  // The format cell is not looked at, and a paused editor keeps offering to continue.
  setSong(songPath, "ape格式");
  controller.togglePause();
  now.advanceMs(5000);
  clock.start();
  now.advanceMs(3000);
  log.clear();

  testPlay.startTestPlay();
  EXPECT_EQ(log, (Log{"view:open=0", "view:volume=0", "sync:100", "timer:10",
                      "player:play:" + songPath + "@0", "curtain:close", "colour:500"}));
  EXPECT_EQ(clock.elapsedHundredths(), 0);
  EXPECT_TRUE(clock.running());
  ASSERT_EQ(player.listener, &controller);
  EXPECT_EQ(display.pauseCaption(), "继续");
  EXPECT_EQ(controller.state(), PlaybackState::RestartedWhilePaused);
  EXPECT_EQ(view.textWrites, 0);  // the display keeps the text of the last test play
  EXPECT_TRUE(prompter.shown.empty());

  // Before the curtain has arrived a second start plays the song again from the top.
  log.clear();
  now.advanceMs(700);
  testPlay.startTestPlay();
  EXPECT_EQ(player.calls.back(), "play:" + songPath + "@0");
  EXPECT_EQ(clock.elapsedHundredths(), 0);
  EXPECT_EQ(log.back(), "colour:500");

  // Once the curtain has shown the close picture, test play is on and a start does nothing.
  view.closePicture = true;
  log.clear();
  testPlay.startTestPlay();
  EXPECT_TRUE(log.empty());
}

TEST_F(TestPlayFixture, SyncTickShowsAndSelectsTheMatchAndKeepsBothWithoutOne) {
  list.replaceAll({"[ti:x]", "[00:01.50]Hello", "[00:02.00]World"});
  tag.set("[00:00.40]");
  testPlay.syncPreviewTick();
  EXPECT_EQ(view.text, "before");
  EXPECT_EQ(list.selection(), -1);

  tag.set("[00:01.07]");
  testPlay.syncPreviewTick();
  EXPECT_EQ(view.text, "Hello");
  EXPECT_EQ(list.selection(), 1);

  // A second with no line keeps what the last one showed.
  list.setLine(2, "[00:03.00]World");
  tag.set("[00:02.50]");
  const int writes = view.textWrites;
  testPlay.syncPreviewTick();
  EXPECT_EQ(view.textWrites, writes);
  EXPECT_EQ(view.text, "Hello");
  EXPECT_EQ(list.selection(), 1);

  list.clear();
  testPlay.syncPreviewTick();
  EXPECT_EQ(view.text, "Hello");
}

TEST_F(TestPlayFixture, ColourIsTheProductOfThreeDrawsWithRedInTheLowByte) {
  random.numbers = {250, 250, 250, 1, 2, 3, 7, 0, 9};
  testPlay.colourTick();
  EXPECT_EQ(view.colour, 15'625'000u);  // 0xEE6B28: red 0x28, green 0x6B, blue 0xEE
  testPlay.colourTick();
  EXPECT_EQ(view.colour, 6u);
  testPlay.colourTick();
  EXPECT_EQ(view.colour, 0u);
  ASSERT_EQ(random.ranges.size(), 9u);
  for (const auto& range : random.ranges) EXPECT_EQ(range, (std::pair<int, int>(0, 250)));
}

TEST_F(TestPlayFixture, EndStopsEverythingOpensTheCurtainAndSelectsTheFirstLine) {
  setSong(songPath);
  list.replaceAll({"[00:00.10]a", "[00:00.20]b", "[00:00.30]c"});
  controller.togglePause();  // paused before, so the button still offers to continue
  testPlay.startTestPlay();
  view.closePicture = true;
  view.display = true;
  now.advanceMs(1234);
  clock.tick();
  list.setSelection(2);
  ASSERT_EQ(display.pauseCaption(), "继续");
  log.clear();

  testPlay.endTestPlay();
  EXPECT_EQ(log, (Log{"view:close=0", "view:display=0", "curtain:open", "sync:0", "player:stop",
                      "slider:0", "timer:0", "status0:播放时间:[00:00.00]",
                      "tag:加入标签[00:00.00]", "pause:暂停", "status1:播放进度:00%"}));
  EXPECT_FALSE(clock.running());
  EXPECT_EQ(controller.state(), PlaybackState::Idle);
  EXPECT_EQ(list.selection(), 0);
  // CurrentTimeTag keeps the time at which the clock halted.
  EXPECT_EQ(tag.value(), "[00:01.23]");

  list.clear();
  testPlay.endTestPlay();
  EXPECT_EQ(list.selection(), -1);
}
