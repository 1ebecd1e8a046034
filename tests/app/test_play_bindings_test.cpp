#include "app/bindings/test_play_bindings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/playback_bindings.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "playback/mpv/mpv_audio_player.h"
#include "support/fake_services.h"

namespace {

// Runs the event loop until `done` holds or `timeoutMs` passes.
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > timeoutMs) return false;
    QTest::qWait(2);
  }
  return true;
}

// About four seconds of speech, made once for the whole program.
struct Song {
  testsupport::TempDir dir;
  std::string path = dir.file("speech.mp3");
  bool ok = false;
  Song() {
    const std::string wav = dir.file("speech.wav");
    const std::string make = "espeak-ng -w '" + wav +
                             "' 'one two three four' && ffmpeg -loglevel error -y -i '" + wav +
                             "' -af apad=whole_dur=4 -c:a libmp3lame '" + path + "'";
    ok = std::system(make.c_str()) == 0;
  }
  static Song& get() {
    static Song song;
    return song;
  }
};

struct TestPlayUiTest : ::testing::Test {
  // Plays in real time without a sound device, so the clock runs as it does for a user.
  playback::MpvAudioPlayer player{{"null", false}};
  testsupport::EditorHarness harness;
  testsupport::TempDir& home = harness.home;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  testsupport::ScriptedDialogs& dialogs = harness.dialogs;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
  app::MainWindow* window = nullptr;

  void SetUp() override {
    harness.player = &player;
    window = &harness.start().window();
  }
  QWidget* control(const char* name) const {
    return window->control<QWidget>(QString::fromUtf8(name));
  }
  QString display() const {
    return window->control<QLineEdit>(QStringLiteral("编辑框_青禾歌词编辑器"))->text();
  }
  int viewSelection() const {
    const QModelIndexList selected = window->lyricsView()->selectionModel()->selectedIndexes();
    return selected.size() == 1 ? selected[0].row() : -1;
  }
  // Index of `widget` in the stacking order of the client area (higher lies above).
  int stackIndex(const char* name) const {
    return static_cast<int>(window->clientArea()->children().indexOf(control(name)));
  }
};

}  // namespace

TEST_F(TestPlayUiTest, StartingControlsAreParkedAndStackedAsDesigned) {
  QLabel* close = window->control<QLabel>(QStringLiteral("图片框_关闭"));
  EXPECT_TRUE(close->isHidden());
  EXPECT_TRUE(control("编辑框_青禾歌词编辑器")->isHidden());
  EXPECT_EQ(close->pixmap().size(), QSize(32, 32));
  for (const char* piece : {"标签_歌词预览左", "标签_歌词预览右"}) {
    auto* label = window->control<QLabel>(QString::fromUtf8(piece));
    EXPECT_TRUE(label->autoFillBackground()) << piece;
    EXPECT_TRUE(label->text().isEmpty()) << piece;
    EXPECT_GT(stackIndex("编辑框_青禾歌词编辑器"), stackIndex(piece));
    EXPECT_GT(stackIndex("图片框_关闭"), stackIndex(piece));
    EXPECT_GT(stackIndex(piece), stackIndex("编辑框_歌手"));
  }

  // The toolbar's 测试 runs the same command as F2: without the song file, the warning.
  editor->state().playback.setCurrentSong(home.file("gone.mp3"), "gone.mp3", "mp3格式");
  window->findChild<QAction*>(QStringLiteral("工具条_控制播放_9"))->trigger();
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(app::toQString(prompter.shown[0].text),
            QStringLiteral("歌曲文件路径不存在，或以删除。"));
  EXPECT_EQ(window->timer(QStringLiteral("时钟_控制标签左"))->interval(), 0);
  EXPECT_EQ(window->menus().action(QStringLiteral("StartTestPlay"))->shortcut(),
            QKeySequence(Qt::Key_F2));
}

TEST_F(TestPlayUiTest, ARealTestPlaySelectsEachLineAsTheClockReachesItsSecond) {
  Song& song = Song::get();
  ASSERT_TRUE(song.ok) << "espeak-ng or ffmpeg failed";
  ASSERT_TRUE(player.isReady());
  editor->state().lyrics.replaceAll(
      {"[ti:speech]", "[00:00.30]one", "[00:01.40]two", "[00:02.20]three"});
  editor->state().playback.setCurrentSong(song.path, "speech.mp3", "mp3格式");

  window->menus().action(QStringLiteral("StartTestPlay"))->trigger();
  EXPECT_TRUE(control("图片框_开")->isHidden());
  EXPECT_TRUE(control("图片框_声音控制")->isHidden());
  ASSERT_TRUE(waitFor([&] { return !control("图片框_关闭")->isHidden(); }, 3000))
      << "the curtain did not close";
  EXPECT_EQ(control("标签_歌词预览左")->pos(), QPoint(0, 466));
  EXPECT_EQ(control("标签_歌词预览右")->pos(), QPoint(265, 466));
  EXPECT_EQ(control("图片框_关闭")->pos(), QPoint(490, 510));
  EXPECT_EQ(control("编辑框_青禾歌词编辑器")->pos(), QPoint(10, 500));
  EXPECT_FALSE(control("编辑框_青禾歌词编辑器")->isHidden());

  // Each line becomes current within one sync tick of the clock entering its second.
  const struct {
    int line;
    const char* text;
    const char* second;
  } steps[] = {{1, "one", "[00:00"}, {2, "two", "[00:01"}, {3, "three", "[00:02"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    ASSERT_TRUE(waitFor([&] { return editor->state().lyrics.selection() == step.line; }, 4000))
        << "line " << step.line << " never became current";
    EXPECT_EQ(editor->state().currentTag.value().substr(0, 6), step.second);
    EXPECT_EQ(viewSelection(), step.line);
    EXPECT_EQ(display(), QString::fromUtf8(step.text));
    const auto position = player.currentTimePos();
    ASSERT_TRUE(position.has_value());
    EXPECT_GE(*position, step.line - 1.0 - 0.05);
    EXPECT_LT(*position, step.line - 1.0 + 0.5);
  }

  QTest::mouseDClick(control("图片框_关闭"), Qt::LeftButton);
  EXPECT_TRUE(control("图片框_关闭")->isHidden());
  EXPECT_TRUE(control("编辑框_青禾歌词编辑器")->isHidden());
  EXPECT_EQ(editor->state().lyrics.selection(), 0);
  EXPECT_EQ(viewSelection(), 0);
  EXPECT_EQ(window->timer(QStringLiteral("时钟_测试播放"))->interval(), 0);
  EXPECT_EQ(window->statusLabel(0)->text(), QStringLiteral("播放时间:[00:00.00]"));
  EXPECT_FALSE(player.heardPosition().has_value());
  EXPECT_TRUE(waitFor([&] { return !player.currentTimePos().has_value(); }, 2000))
      << "mpv went on playing";
  ASSERT_TRUE(waitFor([&] { return !control("图片框_开")->isHidden(); }, 3000))
      << "the curtain did not open";
  EXPECT_FALSE(control("图片框_声音控制")->isHidden());
  EXPECT_EQ(control("标签_歌词预览左")->pos(), QPoint(-265, 466));
  EXPECT_EQ(control("标签_歌词预览右")->pos(), QPoint(530, 466));
  // The clock stands still after the end, and the selection stays on the first line.
  QTest::qWait(300);
  EXPECT_EQ(editor->state().lyrics.selection(), 0);
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TestPlayUiTest, ASongDeletedWhileItPlaysEndsAsAtItsEndAndIsThenReportedGone) {
  Song& song = Song::get();
  ASSERT_TRUE(song.ok) << "espeak-ng or ffmpeg failed";
  ASSERT_TRUE(player.isReady());
  const std::string copy = home.file("doomed.mp3");
  std::filesystem::copy_file(song.path, copy);
  editor->state().lyrics.replaceAll({"[00:00.30]one", "[00:01.40]two"});
  editor->state().playback.setCurrentSong(copy, "doomed.mp3", "mp3格式");

  window->menus().action(QStringLiteral("StartTestPlay"))->trigger();
  ASSERT_TRUE(waitFor([&] { return editor->state().lyrics.selection() == 0; }, 3000));
  ASSERT_TRUE(waitFor([&] { return player.currentTimePos().value_or(0) > 0.5; }, 3000));
  ASSERT_TRUE(std::filesystem::remove(copy));

  // The player keeps what it opened: the song plays out and the end resets the controls.
  EXPECT_TRUE(waitFor([&] { return !player.currentTimePos().has_value(); }, 8000))
      << "the play never ended";
  EXPECT_TRUE(waitFor(
      [&] { return window->statusLabel(0)->text() == QStringLiteral("播放时间:[00:00.00]"); },
      2000));
  EXPECT_TRUE(prompter.shown.empty());

  QTest::mouseDClick(control("图片框_关闭"), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return !control("图片框_开")->isHidden(); }, 3000));
  window->menus().action(QStringLiteral("StartTestPlay"))->trigger();
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(app::toQString(prompter.shown[0].text),
            QStringLiteral("歌曲文件路径不存在，或以删除。"));
  EXPECT_FALSE(player.currentTimePos().has_value());
  EXPECT_TRUE(control("图片框_关闭")->isHidden());
}
