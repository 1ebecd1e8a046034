#pragma once

namespace app {

class EditorApp;

// TEST HOOK for the smoke test and the start-up benchmark, inactive in normal use. When
// LRC_EDITOR_SELFTEST_REPORT names a file, the editor writes a short UTF-8 report there once
// its window is shown and painted: the title, whether the display exposed the window, the
// number of lyric lines, the selected index, the time since the process started, the resident
// memory now and at its peak, the first 1000 lines, and the rows of the saved-lyrics list
// (their first six columns as the list shows them).
// LRC_EDITOR_SELFTEST_COMMAND=<command> first runs the menu-bar command of that name (e.g.
// SaveLyrics), as if it had been chosen from the menu; the report waits (at most 10 s) for a
// document it brings back in the background.
// LRC_EDITOR_SELFTEST_DROP=<file> first drops that file on the window, as a user drops a song.
// The report then also gives the window's id and where the 播放 button is on the screen.
// LRC_EDITOR_SELFTEST_LOG=<file> logs every play time shown and every lyric line changed, each
// with the steady clock's time, for a program that drives the editor from outside.
// LRC_EDITOR_SELFTEST_QUIT=1 then ends the program.
class SelfTestReport {
 public:
  // Arranges the report for `editor` when the environment asks for one.
  static void installIfRequested(EditorApp& editor);
};

}  // namespace app
