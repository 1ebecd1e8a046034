#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// What one start of the real editor showed and stamped while it was driven as a user does: the
// song dropped on the window as soon as it is shown, 播放 clicked at once, F5 pressed now and
// then, all through the display server (xdotool), so every event takes the window's delivery.
// Times are the steady clock's, in nanoseconds.
struct EditorRun {
  // The display server took the click on 播放 (its own time of the press, in whole
  // milliseconds, put on the steady clock by the press that reached the window fastest).
  std::int64_t clickNs = 0;
  // For every press, how long after the server's time of it the window received it (the
  // fastest counts as 0).
  std::vector<std::int64_t> deliveryNs;
  // The window was shown and painted (its report appeared), or in a run with the waveform
  // window, that window was shown; the click followed.
  std::int64_t shownNs = 0;
  // The editor was asked to close.
  std::int64_t endNs = 0;
  // Every play time status part 0 showed: when, and in hundredths.
  std::vector<std::pair<std::int64_t, long>> shown;
  // Every F5: when the display server took it, and the tag it stamped.
  std::vector<std::pair<std::int64_t, long>> stamps;
  // One press of a jump key.
  struct Jump {
    // "F6", "ctrl+Left" or "ctrl+Right".
    std::string key;
    // When the display server took it and when the window received it.
    std::int64_t pressedNs = 0, receivedNs = 0;
  };
  // Every jump, in order (jump runs only).
  std::vector<Jump> jumps;
  // Empty when the run went as planned; otherwise what went wrong.
  std::string problem;
};

// Starts `editor` with `lyrics` on its command line in `workDir` (its own XDG folders), drops
// `song`, clicks 播放 at once, presses F5 at moments drawn from `seed` for about 5 s and closes
// it. With `jumps` it then goes on: six times a few F5 and a jump (Ctrl+Right, F6, Ctrl+Left in
// turn; F6 on the line after the last one stamped), two more F5 after the last jump. With
// `waveform`, F8 opens the waveform window before 播放 is clicked, and the keys after the click go
// to that window. Needs an X display and xdotool.
EditorRun driveEditor(const std::string& editor, const std::string& lyrics, const std::string& song,
                      const std::string& workDir, unsigned seed, bool jumps = false,
                      bool waveform = false);

// Writes 30 untagged lines to lines.lrc in `dir` for a driven editor to open; its path, or ""
// when that failed.
std::string writeLyrics(const std::filesystem::path& dir);

}  // namespace bench
