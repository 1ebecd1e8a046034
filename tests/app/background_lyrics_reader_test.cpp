#include "app/adapters/background_lyrics_reader.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "app/adapters/gbk.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "lyrics/lyrics_import.h"
#include "support/fake_services.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using Lines = std::vector<std::string>;

namespace {

std::string gbk(const char* utf8) { return app::toGbk(QString::fromUtf8(utf8)); }

// Runs the event loop until `done` holds or `timeoutMs` passes.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10'000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

// A load that holds on the worker thread until the test lets it go, reporting 30 per cent
// meanwhile, the way a slow disk would; a called-off load ends at once.
struct HeldLoad {
  std::atomic<bool> released{false};
  std::atomic<bool> sawStop{false};
  std::atomic<int> loads{0};

  app::BackgroundLyricsReader::Load load() {
    return [this](const std::string& path, const std::function<bool(double)>& onProgress) {
      ++loads;
      while (!released) {
        if (onProgress && !onProgress(0.3)) {
          sawStop = true;
          return lyrics::LyricsFile{platform::ReadStatus::Ok, {}, true};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      return lyrics::loadLyricsFile(path, lyrics::LyricsFileReader::kMaxFileBytes, onProgress);
    };
  }
};

// The importer as the editor wires it, over a reader that sends every file to the worker.
struct BackgroundReadTest : ::testing::Test {
  QWidget window;
  HeldLoad held;
  app::BackgroundLyricsReader reader{&window, held.load(), 0};
  lyrics::LyricsList list;
  lyrics::StatusBar status;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  lyrics::LyricsImporter importer{list, status, prompter, dialogs, &reader};
  testsupport::TempDir dir;

  BackgroundReadTest() {
    window.resize(530, 685);
    window.show();
    list.replaceAll(Lines{"keep", "me"});
    list.setSelection(1);
  }
  bool dialogShown() const {
    return reader.progressDialog() && reader.progressDialog()->isVisible();
  }
};

}  // namespace

TEST_F(BackgroundReadTest, TheWindowRunsOnWhileALargeFileLoadsAndShowsProgressAfterHalfASecond) {
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
  clock.start(10);
  const std::string path = dir.write("song.lrc", "[00:01.00]a\r\nb\r\n\r\nc");
  QElapsedTimer since;
  since.start();
  importer.dropLyricsFile(path);
  EXPECT_TRUE(reader.busy());
  // Nothing changes until the lines are there, and the first half second shows no dialog.
  EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));
  waitUntil([&] { return since.elapsed() >= 350; });
  EXPECT_FALSE(dialogShown());
  EXPECT_GE(ticks, 10);
  ASSERT_TRUE(waitUntil([&] { return dialogShown(); }, 3000));
  EXPECT_GE(since.elapsed(), app::BackgroundLyricsReader::kProgressDelayMs);
  QProgressDialog* dialog = reader.progressDialog();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("tolva_打开歌词文件"));
  EXPECT_EQ(dialog->labelText(), QStringLiteral("正在读取歌词文件，请稍候……"));
  EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
  EXPECT_TRUE(waitUntil([&] { return dialog->value() == 300; }, 1000));
  const int ticksBefore = ticks;
  waitUntil([&] { return ticks >= ticksBefore + 20; }, 2000);
  EXPECT_GE(ticks, ticksBefore + 20);
  EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));

  held.released = true;
  ASSERT_TRUE(waitUntil([&] { return !reader.busy(); }));
  EXPECT_EQ(list.lines(), (Lines{"[00:01.00]a", "b", "", "c"}));
  EXPECT_EQ(list.selection(), 0);
  EXPECT_EQ(status.text(lyrics::StatusBar::Characters), gbk("字:9.5"));
  EXPECT_EQ(status.text(lyrics::StatusBar::Lines), gbk("行:4"));
  EXPECT_FALSE(dialogShown());
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(BackgroundReadTest, CancellingTheProgressKeepsTheLinesAndStopsTheWorker) {
  dialogs.choice = dir.write("song.txt", "x\r\ny");
  importer.openLyricsFile();
  ASSERT_TRUE(waitUntil([&] { return dialogShown(); }, 3000));
  auto* cancel = reader.progressDialog()->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(reader.busy());
  EXPECT_TRUE(held.sawStop);
  EXPECT_FALSE(dialogShown());
  held.released = true;
  waitUntil([] { return false; }, 100);
  EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(status.text(lyrics::StatusBar::Lines), gbk("行："));
  EXPECT_TRUE(prompter.shown.empty());

  // The dialog comes back for the next long read.
  held.released = false;
  importer.dropLyricsFile(dir.write("next.lrc", "z"));
  ASSERT_TRUE(waitUntil([&] { return dialogShown(); }, 3000));
  held.released = true;
  ASSERT_TRUE(waitUntil([&] { return !reader.busy(); }));
  EXPECT_EQ(list.lines(), Lines{"z"});
}

TEST_F(BackgroundReadTest, TheFileChosenLastWinsAndAReaderGoneMidReadHandsNothingOver) {
  importer.dropLyricsFile(dir.write("first.lrc", "first"));
  importer.dropLyricsFile(dir.write("second.lrc", "second"));
  EXPECT_TRUE(held.sawStop);
  held.released = true;
  ASSERT_TRUE(waitUntil([&] { return !reader.busy(); }));
  waitUntil([] { return false; }, 100);
  EXPECT_EQ(list.lines(), Lines{"second"});
  EXPECT_EQ(held.loads, 2);

  // A reader destroyed during a read waits for its worker and never calls back.
  held.released = false;
  held.sawStop = false;
  bool called = false;
  {
    app::BackgroundLyricsReader gone(&window, held.load(), 0);
    gone.read(dir.write("third.lrc", "third"), [&](lyrics::LyricsFile) { called = true; });
    EXPECT_TRUE(gone.busy());
  }
  EXPECT_TRUE(held.sawStop);
  waitUntil([] { return false; }, 100);
  EXPECT_FALSE(called);
}

TEST(BackgroundLyricsReader, SmallFilesAreReadBeforeTheCallReturns) {
  QWidget window;
  testsupport::TempDir dir;
  app::BackgroundLyricsReader reader(&window);
  const std::string small = dir.write("small.lrc", std::string(1000, 'a') + "\r\nb");
  std::size_t lines = 0;
  reader.read(small, [&](lyrics::LyricsFile file) { lines = file.text.lineCount(); });
  EXPECT_EQ(lines, 2u);
  EXPECT_FALSE(reader.busy());
  // A file past the threshold goes to the worker, and arrives whole.
  std::string big;
  while (big.size() <= app::BackgroundLyricsReader::kBackgroundBytes) big += "[00:00.00]line\r\n";
  lines = 0;
  reader.read(dir.write("big.lrc", big),
              [&](lyrics::LyricsFile file) { lines = file.text.lineCount(); });
  EXPECT_TRUE(reader.busy());
  EXPECT_EQ(lines, 0u);
  ASSERT_TRUE(waitUntil([&] { return !reader.busy(); }));
  EXPECT_EQ(lines, big.size() / 16);
}

TEST(BackgroundLyricsReader, TheEditorImportsADroppedLargeFileWithTheUsualTexts) {
  testsupport::EditorHarness harness;
  app::EditorApp& editor = harness.start();
  testsupport::TempDir& dir = harness.home;
  std::string text;
  for (int i = 0; text.size() <= (std::size_t{3} << 20); ++i) text += gbk("[00:01.00]第一句\r\n");
  const int lines = static_cast<int>(text.size() / 18);
  emit editor.window().lyricsDropped(dir.write("big.lrc", text));
  EXPECT_TRUE(editor.lyricsReader().busy());
  ASSERT_TRUE(waitUntil([&] { return editor.state().lyrics.count() == lines; }));
  EXPECT_EQ(editor.state().lyrics.line(0), gbk("[00:01.00]第一句"));
  EXPECT_EQ(editor.state().lyrics.selection(), 0);
  EXPECT_EQ(editor.window().statusLabel(lyrics::StatusBar::Lines)->text(),
            QStringLiteral("行:%1").arg(lines));
  EXPECT_EQ(editor.window().statusLabel(lyrics::StatusBar::Characters)->text(),
            QStringLiteral("字:%1").arg(text.size() / 2));

  // Closing the editor during a read calls it off cleanly.
  emit editor.window().lyricsDropped(dir.write("again.lrc", text));
  EXPECT_TRUE(editor.lyricsReader().busy());
}
