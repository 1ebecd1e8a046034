#pragma once

#include <string>
#include <vector>

#include "files/save_balloon_view.h"
#include "files/save_commands.h"
#include "files/saved_lyrics_library.h"
#include "files/saved_lyrics_store.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "platform/native_path.h"
#include "playback/song_row.h"
#include "support/fake_local_clock.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace testsupport {

// The balloon of a window at 100,50; keeps every balloon shown as "text@x,y".
struct RecordingBalloon : files::SaveBalloonView {
  files::WindowFrame windowFrame() const override { return {100, 50, 530, 685, 22}; }
  void showBalloon(const std::string& text, int x, int y) override {
    shown.push_back(text + "@" + std::to_string(x) + "," + std::to_string(y));
  }
  std::vector<std::string> shown;
};

// The save commands as the window wires them, over fakes, with the saved-lyrics library kept in
// a fresh folder `dir`.
struct SaveRig {
  TempDir dir;
  lyrics::LyricsList list;
  lyrics::HeaderFields header;
  playback::SongRow song;
  RecordingPrompter prompter;
  ScriptedDialogs dialogs;
  FakeLocalClock clock;
  RecordingBalloon balloon;
  files::SavedLyricsLibrary library;
  files::SavedLyricsStore store{library, prompter, platform::gbkPath(dir.path().string())};
  files::SaveCommands commands{list, header, song, store, clock, prompter, dialogs, balloon};
};

}  // namespace testsupport
