#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <cmath>
#include <fstream>

#include "app/bindings/undo_bindings.h"
#include "app/bindings/waveform_bindings.h"
#include "app/editor_app.h"
#include "app/window/main_window.h"
#include "lyrics/tag_corrections.h"
#include "support/click_track.h"
#include "support/fake_services.h"

namespace {

struct Editor {
  explicit Editor(const std::string& song) {
    harness.start();
    state().lyrics.replaceAll(std::vector<std::string>{"[00:01.00]one", "[00:02.00][00:04.00]two"});
    state().lyrics.setSelection(0);
    if (!song.empty()) state().playback.setCurrentSong(song, "song.mp3", "mp3格式");
    editor->undo().settleNow();
    editor->window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&editor->window()));
    QTest::keyClick(&editor->window(), Qt::Key_F8);
    waveform = editor->waveform().waveformWindow();
  }
  app::EditorState& state() { return editor->state(); }
  // Where a time shows on the view.
  QPoint at(double seconds) const {
    auto& view = waveform->view();
    return {static_cast<int>(std::lround(view.axis().toX(seconds))), view.height() / 2};
  }
  // Whether the view, as it paints itself now, draws the mark at `seconds` in the selected red
  // near its foot (below the labels).
  bool redAt(double seconds) const {
    const QImage picture = waveform->view().grab().toImage();
    const int x = at(seconds).x();
    for (int dx = -1; dx <= 1; ++dx) {
      if (picture.pixelColor(x + dx, picture.height() - 3) == QColor(0xff, 0x50, 0x50)) return true;
    }
    return false;
  }

  testsupport::EditorHarness harness;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
  waveform::WaveformWindow* waveform = nullptr;
};

}  // namespace

// F8 opens the window on the song; a mark dragged through Qt's event delivery retimes its tag,
// snapped to the hundredth, and one undo takes the drag back; a mark clicked selects its line;
// the editor's keys work in the window.
TEST(WaveformWindow, DraggingAMarkRetimesItsTagAsOneUndoableStep) {
  testsupport::TempDir dir;
  const std::string song = dir.file("song.mp3");
  ASSERT_TRUE(testsupport::ClickTrack::write(song, 6));
  Editor e(song);
  ASSERT_NE(e.waveform, nullptr);
  EXPECT_EQ(e.waveform->objectName(), QStringLiteral("窗口_波形"));
  EXPECT_EQ(e.waveform->windowTitle(), QStringLiteral("波形 - song.mp3"));
  EXPECT_TRUE(e.waveform->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(e.waveform->loaded(), 10000);  // the decode of the song
  auto& view = e.waveform->view();
  EXPECT_EQ(view.objectName(), QStringLiteral("波形_视图"));
  EXPECT_NEAR(view.axis().span(), 6.0, 0.1);  // the whole song

  // The second tag of line 1, grabbed two pixels beside it, dragged to about 4.5 s.
  const QPoint from = e.at(4.0) + QPoint(2, 0);
  const QPoint to = e.at(4.5);
  QTest::mousePress(&view, Qt::LeftButton, {}, from);
  QTest::mouseMove(&view, from + QPoint(10, 0));
  QTest::mouseMove(&view, to);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, to);
  const std::int64_t dropped = std::llround(view.axis().toTime(to.x()) * 100);
  ASSERT_EQ(e.state().lyrics.line(1), "[00:02.00]" + lyrics::fullTimeTag(dropped) + "two");
  EXPECT_EQ(e.state().lyrics.selection(), 1);
  e.editor->undo().settleNow();

  // Ctrl+Z pressed in the waveform window undoes the whole drag.
  e.waveform->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(e.waveform));
  QTest::keyClick(e.waveform, Qt::Key_Z, Qt::ControlModifier);
  e.editor->undo().settleNow();
  EXPECT_EQ(e.state().lyrics.line(1), "[00:02.00][00:04.00]two");

  // A click on a mark selects its line, and its mark turns red in the view's picture.
  e.state().lyrics.setSelection(1);
  e.editor->undo().settleNow();
  EXPECT_TRUE(e.redAt(4.0));
  EXPECT_FALSE(e.redAt(1.0));
  QTest::mouseClick(&view, Qt::LeftButton, {}, e.at(1.0));
  EXPECT_EQ(e.state().lyrics.selection(), 0);
  QTRY_VERIFY(e.redAt(1.0));
}

// A mark dragged to the right edge of a zoomed view and held there scrolls the view on, and is
// dropped at the time then under the pointer, past the stretch the view first showed.
TEST(WaveformWindow, AMarkHeldAtTheEdgeScrollsTheView) {
  testsupport::TempDir dir;
  const std::string song = dir.file("song.mp3");
  ASSERT_TRUE(testsupport::ClickTrack::write(song, 6));
  Editor e(song);
  QTRY_VERIFY_WITH_TIMEOUT(e.waveform->loaded(), 10000);
  auto& view = e.waveform->view();
  view.axis().zoomAround(0, 2.0 / 6);  // 0 to 2 s
  ASSERT_DOUBLE_EQ(view.axis().start(), 0);

  const QPoint from = e.at(1.0);
  const QPoint edge(view.width() - 2, from.y());
  QTest::mousePress(&view, Qt::LeftButton, {}, from);
  QTest::mouseMove(&view, from + QPoint(10, 0));
  QTest::mouseMove(&view, edge);
  QTRY_VERIFY_WITH_TIMEOUT(view.axis().start() > 1.0, 5000);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, edge);
  const double start = view.axis().start();
  QTest::qWait(100);
  EXPECT_EQ(view.axis().start(), start);  // the scroll ends with the drag
  const std::int64_t dropped = std::llround(view.axis().toTime(edge.x()) * 100);
  EXPECT_GT(dropped, 300);
  EXPECT_EQ(e.state().lyrics.line(0), lyrics::fullTimeTag(dropped) + "one");
}

// A song the decoder cannot read, and no song at all: the window says so and nothing else
// changes.
TEST(WaveformWindow, ShowsWhyThereIsNoWaveform) {
  testsupport::TempDir dir;
  const std::string noise = dir.file("noise.mp3");
  std::ofstream(noise) << "this is no mp3 at all, only text\n";
  Editor e(noise);
  ASSERT_NE(e.waveform, nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(!e.waveform->message().isEmpty(), 10000);  // the failed decode
  EXPECT_EQ(e.waveform->message(), QStringLiteral("无法读取音频文件“noise.mp3”的波形。"));
  EXPECT_EQ(e.state().lyrics.line(0), "[00:01.00]one");
  EXPECT_TRUE(e.harness.prompter.shown.empty());

  Editor none("");
  ASSERT_NE(none.waveform, nullptr);
  EXPECT_EQ(none.waveform->message(),
            QStringLiteral("没有歌曲：打开一首歌曲后，这里显示它的波形。"));
  EXPECT_EQ(none.waveform->windowTitle(), QStringLiteral("波形"));
}
