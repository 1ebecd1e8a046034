// Opens a 60 MB GBK lyrics file and a file of two million empty lines in the whole editor, the
// way a user does (menu, dialog), and measures how long the import takes, how long the window
// went without handling events meanwhile, and the resident memory at the import's peak.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/adapters/gbk.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "bench_files.h"
#include "lyrics_generator.h"
#include "playback/mpv/mpv_audio_player.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace {

// Starts the peak-memory reading afresh from the memory in use now.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Result {
  double importMs = 0;
  double longestStallMs = 0;
  bool progressShown = false;
  double baseMb = 0;
  double peakMb = 0;
  int lines = 0;
};

Result openThroughTheMenu(app::EditorApp& editor, testsupport::ScriptedDialogs& dialogs,
                          const std::string& path, int expectedLines) {
  editor.state().lyrics.clear();
  QApplication::processEvents();
  Result result;
  result.baseMb = bench::statusMb("VmRSS");
  resetPeak();
  dialogs.choice = path;

  // A 10 ms timer stands for everything the window must keep doing: repaint, the play clock.
  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    result.longestStallMs =
        std::max(result.longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
    sinceTick.restart();
    for (auto* dialog : editor.window().findChildren<QProgressDialog*>()) {
      if (dialog->isVisible()) result.progressShown = true;
    }
  });
  ticker.start(10);
  QElapsedTimer timer;
  timer.start();
  sinceTick.start();
  QTimer::singleShot(
      0, [&] { editor.window().menus().action(QStringLiteral("OpenLyricsFile"))->trigger(); });
  while (editor.state().lyrics.count() != expectedLines && timer.elapsed() < 60000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  }
  result.importMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  // The first paint of the new lines belongs to the import.
  editor.window().repaint();
  QApplication::processEvents();
  result.importMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  ticker.stop();
  result.peakMb = bench::statusMb("VmHWM");
  result.lines = editor.state().lyrics.count();
  return result;
}

void print(const char* what, const Result& r, double fileMb) {
  std::printf(
      "large_import_bench: %s (%.1f MB, %d lines): import + first paint %.0f ms, longest "
      "stall of the event loop %.0f ms, progress shown: %s\n",
      what, fileMb, r.lines, r.importMs, r.longestStallMs, r.progressShown ? "yes" : "no");
  std::printf(
      "large_import_bench: %s: resident memory %.0f MB before, %.0f MB at the peak: "
      "%.0f MB for the import (%.2f x the file), %.2f x the file in all\n",
      what, r.baseMb, r.peakMb, r.peakMb - r.baseMb, (r.peakMb - r.baseMb) / fileMb,
      r.peakMb / fileMb);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testsupport::TempDir dir;
  const std::string big = dir.file("big.lrc");
  const std::string empty = dir.file("empty_lines.lrc");
  const std::string utf8 = dir.file("utf8.lrc");
  const std::string utf8Lf = dir.file("utf8_lf.lrc");
  double bigMb = 0;
  int bigLines = 0;
  double utf8Mb = 0;
  int utf8Lines = 0;
  double utf8LfMb = 0;
  {
    const std::string text = bench::generateGbkLyrics(60u * 1024u * 1024u);
    bigMb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    bigLines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    std::ofstream(big, std::ios::binary) << text;
    std::string lines;
    for (int i = 0; i < 2'000'000; ++i) lines += "\r\n";
    std::ofstream(empty, std::ios::binary) << lines;
    // The same kind of lyrics as UTF-8, as the web has them, about as large: read converted.
    const QByteArray utf8Text =
        app::toQString(bench::generateGbkLyrics(47u * 1024u * 1024u)).toUtf8();
    utf8Mb = static_cast<double>(utf8Text.size()) / (1024.0 * 1024.0);
    utf8Lines = static_cast<int>(utf8Text.count('\n'));
    std::ofstream(utf8, std::ios::binary) << utf8Text.toStdString();
    // And with the bare LF line ends of a file written on Linux: cut at LF.
    std::string lfText = utf8Text.toStdString();
    std::erase(lfText, '\r');
    utf8LfMb = static_cast<double>(lfText.size()) / (1024.0 * 1024.0);
    std::ofstream(utf8Lf, std::ios::binary) << lfText;
  }

  // The real player, so that the idle editor holds what it holds in use (libmpv and its
  // decoders); everything else is the tests' stand-ins.
  playback::MpvAudioPlayer player;
  testsupport::EditorHarness harness;
  harness.player = &player;
  testsupport::ScriptedDialogs& dialogs = harness.dialogs;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  app::EditorApp& editor = harness.create();
  editor.start();
  QApplication::processEvents();

  const Result large = openThroughTheMenu(editor, dialogs, big, bigLines);
  print("60 MB GBK file", large, bigMb);
  const Result blank = openThroughTheMenu(editor, dialogs, empty, 2'000'000);
  print("two million empty lines", blank, 4'000'000.0 / (1024.0 * 1024.0));
  const Result converted = openThroughTheMenu(editor, dialogs, utf8, utf8Lines);
  print("60 MB UTF-8 file", converted, utf8Mb);
  const Result lf = openThroughTheMenu(editor, dialogs, utf8Lf, utf8Lines);
  print("60 MB UTF-8 file with LF line ends", lf, utf8LfMb);
  // What stays once the imports are over: the last document and what the undo history kept
  // of the ones cleared before each import.
  QApplication::processEvents();
  std::printf(
      "large_import_bench: after the four imports: resident memory %.0f MB, the undo history "
      "holds %.0f MB\n",
      bench::statusMb("VmRSS"),
      static_cast<double>(editor.state().history.heldBytes()) / (1 << 20));
  for (const auto& shown : prompter.shown) {
    std::printf("large_import_bench: message: %s\n",
                app::toQString(shown.text).toUtf8().constData());
  }

  // The whole process counts, the idle editor's fonts, libmpv and its decoders included.
  const bool ok = large.lines == bigLines && blank.lines == 2'000'000 &&
                  converted.lines == utf8Lines && lf.lines == utf8Lines &&
                  large.longestStallMs <= 250.0 && blank.longestStallMs <= 250.0 &&
                  converted.longestStallMs <= 250.0 && lf.longestStallMs <= 250.0 &&
                  large.peakMb <= 3.0 * bigMb && converted.peakMb <= 3.0 * utf8Mb &&
                  lf.peakMb <= 3.0 * utf8LfMb;
  std::printf(
      "large_import_bench: targets: every line, no stall above 250 ms, the editor's peak "
      "memory under 3 x the file: %s\n",
      ok ? "met" : "NOT met");
  return ok ? 0 : 1;
}
