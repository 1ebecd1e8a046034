#include "playback/playback_controller.h"

#include <gtest/gtest.h>

#include "playback/controller_rig.h"
#include "playback/playback_texts.h"

using namespace playback;
using namespace playbacktest;
using lyrics::HeaderFields;
using lyrics::StatusBar;

namespace {

struct ControllerFixture : ::testing::Test, ControllerRig {
  void loadSong(const std::string& path) {
    dialogs.choice = path;
    controller.openAudioFile();
  }
};

}  // namespace

TEST_F(ControllerFixture, OpenAudioFileFillsHeaderAndRowZero) {
  controller.openAudioFile();  // cancelled
  ASSERT_EQ(dialogs.opened.size(), 1u);
  EXPECT_EQ(dialogs.opened[0].title, "tolva_打开音频文件");
  EXPECT_EQ(dialogs.opened[0].filter, "音频文件(*.mp3)|*.mp3|微软格式(*.wma)|*.wma");
  EXPECT_EQ(dialogs.opened[0].directory, dialogs.desktop);
  loadSong("");
  loadSong("/m/notes.txt");  // silently ignored
  EXPECT_FALSE(song.hasRow());
  EXPECT_TRUE(prompter.shown.empty());

  loadSong("/music/Singer-Title.mp3");
  EXPECT_EQ(header.text(HeaderFields::Singer), "Singer");
  EXPECT_EQ(header.text(HeaderFields::Song), "Title");
  EXPECT_EQ(song.cell(SongRow::Title), "Title");
  EXPECT_EQ(song.cell(SongRow::Singer), "Singer");
  EXPECT_EQ(song.cell(SongRow::Format), "mp3格式");
  EXPECT_EQ(song.cell(SongRow::Check), "正常");
  EXPECT_EQ(song.cell(SongRow::Path), "/music/Singer-Title.mp3");
  EXPECT_EQ(status.text(StatusBar::Singer), "歌手:Singer");
  EXPECT_EQ(status.text(StatusBar::Song), "歌曲:Title");

  // No "-": only the title changes, and the row's singer stays empty.
  loadSong("/d/a/Song.WMA");
  EXPECT_EQ(header.text(HeaderFields::Singer), "Singer");
  EXPECT_EQ(header.text(HeaderFields::Song), "Song");
  EXPECT_EQ(song.cell(SongRow::Singer), "");
  EXPECT_EQ(song.cell(SongRow::Format), "wma格式");

  header.setText(HeaderFields::Singer, "张三");
  EXPECT_EQ(status.text(StatusBar::Singer), "歌手:张三");
  header.setText(HeaderFields::Song, "");
  EXPECT_EQ(status.text(StatusBar::Song), "歌曲:");
}

TEST_F(ControllerFixture, DropEmptiesTheListBeforeCheckingTheFormat) {
  loadSong("/m/A-B.mp3");
  controller.dropAudioFile("/m/lyrics.txt");
  EXPECT_FALSE(song.hasRow());
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "打开的音频格式错误，标准格式为*.mp3 *.wma");
  EXPECT_EQ(prompter.shown[0].title, "tolva_格式错误");
  EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(header.text(HeaderFields::Song), "B");

  controller.dropAudioFile("/m/a.mp3\r\n/m/b.mp3\r\n");
  EXPECT_EQ(prompter.shown.size(), 2u);
  EXPECT_FALSE(song.hasRow());

  controller.dropAudioFile("/m/歌手-歌.wma");
  EXPECT_EQ(song.cell(SongRow::Path), "/m/歌手-歌.wma");
  EXPECT_EQ(header.text(HeaderFields::Singer), "歌手");
  EXPECT_EQ(header.text(HeaderFields::Song), "歌");
  EXPECT_EQ(controller.songFolder(), "/m/");
}

TEST_F(ControllerFixture, PlaySongByFormat) {
  controller.playSong();  // no song: the dialog opens, nothing plays
  EXPECT_EQ(dialogs.opened.size(), 1u);
  EXPECT_TRUE(player.calls.empty());
  controller.togglePause();  // no song: nothing
  EXPECT_EQ(display.pauseCaption(), "暂停");

  loadSong("/m/a.mp3");
  EXPECT_TRUE(player.calls.empty());  // choosing a song does not play it
  controller.playSong();
  EXPECT_EQ(player.calls, (std::vector<std::string>{"play:/m/a.mp3@0"}));
  EXPECT_EQ(tickTimer.interval(), PlayClock::kTickMs);
  EXPECT_EQ(player.listener, &controller);

  song.setRow({"t", "", "txt格式", "正常", "/m/a.txt"});
  controller.playSong();
  controller.playSongFromPopup();
  EXPECT_EQ(player.calls.size(), 1u);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[1].text, "错误文件");
  EXPECT_EQ(prompter.shown[1].title, "tolva_错误文件");
  EXPECT_EQ(prompter.shown[1].icon, platform::MessageIcon::Error);

  controller.copySongPath();
  song.clear();
  controller.copySongPath();
  EXPECT_EQ(clipboard.texts, (std::vector<std::string>{"/m/a.txt", ""}));
}

TEST_F(ControllerFixture, PauseFollowsTheCaptionAndStopResetsInOrder) {
  loadSong("/m/a.mp3");
  controller.playSong();
  now.advanceMs(12'340);
  clock.tick();
  controller.togglePause();
  EXPECT_EQ(display.pauseCaption(), "继续");
  EXPECT_EQ(controller.state(), PlaybackState::Paused);
  EXPECT_EQ(tickTimer.interval(), 0);
  now.advanceMs(3000);
  clock.tick();
  EXPECT_EQ(tag.value(), "[00:12.34]");

  // Play while paused restarts the song but leaves the caption.
  controller.playSong();
  EXPECT_EQ(display.pauseCaption(), "继续");
  controller.togglePause();
  EXPECT_EQ(display.pauseCaption(), "暂停");
  EXPECT_EQ(player.calls.back(), "resume");

  now.advanceMs(2000);
  clock.tick();
  controller.onPlayProgress(7);
  EXPECT_EQ(display.progress(), 7);
  EXPECT_EQ(status.text(StatusBar::Progress), "播放进度:07%");
  controller.togglePause();
  log.clear();
  controller.stopPlayback();
  EXPECT_EQ(log, (Log{"player:stop", "slider:0", "timer:0", "status0:播放时间:[00:00.00]",
                      "tag:加入标签[00:00.00]", "pause:暂停", "status1:播放进度:00%"}));
  EXPECT_EQ(clock.elapsedHundredths(), 0);
  EXPECT_EQ(tag.value(), "[00:02.00]");  // a stamp after a stop still gets the halted time

  // The caption alone is the pause state: after a stop it starts the clock from zero.
  controller.togglePause();
  controller.togglePause();
  EXPECT_EQ(player.calls.back(), "resume");
  EXPECT_EQ(tickTimer.interval(), PlayClock::kTickMs);
  now.advanceMs(50);
  clock.tick();
  EXPECT_EQ(tag.value(), "[00:00.05]");
}

TEST_F(ControllerFixture, TheEndOfTheSongAndPlayerErrorsReset) {
  loadSong("/m/a.mp3");
  controller.playSong();
  controller.onPlayProgress(99);
  EXPECT_EQ(status.text(StatusBar::Progress), "播放进度:99%");
  controller.onPlayProgress(100);
  EXPECT_EQ(player.calls.back(), "stop");
  EXPECT_EQ(display.progress(), 0);
  EXPECT_EQ(status.text(StatusBar::Progress), "播放进度:00%");
  EXPECT_EQ(tickTimer.interval(), 0);
  EXPECT_TRUE(prompter.shown.empty());

  // The user dragging the slider changes nothing else; the next report moves it back.
  display.setProgress(60);
  EXPECT_EQ(player.calls.back(), "stop");

  controller.playSong();
  now.advanceMs(300);
  clock.tick();
  controller.onPlayError(PlayError::BadFile);
  EXPECT_EQ(player.calls.back(), "stop");
  EXPECT_EQ(tickTimer.interval(), 0);  // no clock running over silence
  EXPECT_EQ(status.text(StatusBar::PlayTime), "播放时间:[00:00.00]");
  EXPECT_EQ(display.tagCaption(), "加入标签[00:00.00]");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "错误文件");
  EXPECT_EQ(prompter.shown[0].title, "tolva_错误文件");

  // Without a sound output the file is not blamed.
  controller.playSong();
  controller.onPlayError(PlayError::NoAudioOutput);
  EXPECT_EQ(tickTimer.interval(), 0);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[1].text, "无法打开声音设备，歌曲不能播放。请检查系统的声音设置。");
  EXPECT_EQ(prompter.shown[1].icon, platform::MessageIcon::Error);
}

TEST_F(ControllerFixture, ThePlaybackStateFollowsEveryCommandAndTheClockAndCaptionFollowIt) {
  enum Event { Toggle, Play, Stop, End, Error };
  const struct {
    Event event;
    PlaybackState state;
    const char* playerCall;  // "" when the player is not called
  } steps[] = {
      {Play, PlaybackState::Playing, "play:/m/a.mp3@0"},
      {Toggle, PlaybackState::Paused, "pause"},
      // Play while paused restarts the song but keeps offering to continue.
      {Play, PlaybackState::RestartedWhilePaused, "play:/m/a.mp3@0"},
      {Toggle, PlaybackState::Playing, "resume"},
      {Toggle, PlaybackState::Paused, "pause"},
      {Stop, PlaybackState::Idle, "stop"},
      // After a stop the button still pauses and continues: the clock runs over silence.
      {Toggle, PlaybackState::Paused, "pause"},
      {Toggle, PlaybackState::Playing, "resume"},
      {Play, PlaybackState::Playing, "play:/m/a.mp3@0"},
      {End, PlaybackState::Idle, "stop"},
      {Toggle, PlaybackState::Paused, "pause"},
      {Play, PlaybackState::RestartedWhilePaused, "play:/m/a.mp3@0"},
      {Error, PlaybackState::Idle, "stop"},
  };
  controller.togglePause();  // no song: nothing
  EXPECT_EQ(controller.state(), PlaybackState::Idle);
  EXPECT_TRUE(player.calls.empty());
  loadSong("/m/a.mp3");
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    player.calls.clear();
    switch (steps[i].event) {
      case Toggle:
        controller.togglePause();
        break;
      case Play:
        controller.playSong();
        break;
      case Stop:
        controller.stopPlayback();
        break;
      case End:
        controller.onPlayProgress(100);
        break;
      case Error:
        controller.onPlayError(PlayError::BadFile);
        break;
    }
    EXPECT_EQ(controller.state(), steps[i].state) << "step " << i;
    EXPECT_EQ(display.pauseCaption(), texts::pauseButtonCaption(steps[i].state)) << "step " << i;
    EXPECT_EQ(clock.running(), clockRuns(steps[i].state)) << "step " << i;
    EXPECT_EQ(tickTimer.interval() > 0, clockRuns(steps[i].state)) << "step " << i;
    ASSERT_FALSE(player.calls.empty()) << "step " << i;
    EXPECT_EQ(player.calls.front(), steps[i].playerCall) << "step " << i;
  }

  // A saved entry re-opened without a song path describes a song but names no file: Play
  // calls it a wrong file, pause and continue do nothing.
  song.setRow({"t", "", "格式", "正常", ""});
  player.calls.clear();
  const std::size_t shown = prompter.shown.size();
  controller.togglePause();
  EXPECT_EQ(prompter.shown.size(), shown);
  controller.playSong();
  EXPECT_TRUE(player.calls.empty());
  EXPECT_EQ(controller.state(), PlaybackState::Idle);
  ASSERT_EQ(prompter.shown.size(), shown + 1);
  EXPECT_EQ(prompter.shown.back().text, "错误文件");
  EXPECT_EQ(dialogs.opened.size(), 1u);  // only choosing the song opened it
}

// Header fields and a player that outlive the commands must not reach them any more.
TEST_F(ControllerFixture, CommandsThatGoFirstLeaveTheHeaderFieldsAndThePlayer) {
  HeaderFields longerLived;
  {
    PlaybackController gone{song,   longerLived, status,  display,  clock,
                            player, prompter,    dialogs, clipboard};
    dialogs.choice = "/music/Singer-Title.mp3";
    gone.openAudioFile();
    gone.playSong();
    ASSERT_EQ(player.listener, &gone);
  }
  EXPECT_EQ(player.calls.back(), "stop");
  EXPECT_EQ(player.listener, nullptr);
  const std::string singerShown = status.text(StatusBar::Singer);
  longerLived.setText(HeaderFields::Singer, "Other");
  EXPECT_EQ(status.text(StatusBar::Singer), singerShown);
}
