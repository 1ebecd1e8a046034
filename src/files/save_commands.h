#pragma once

#include <string>

#include "files/save_balloon_view.h"
#include "files/saved_lyrics_store.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "platform/dialogs.h"
#include "platform/local_clock.h"
#include "platform/prompter.h"
#include "playback/song_row.h"

namespace files {

// The commands that put the lyrics being edited somewhere else: into the saved-lyrics
// library, into an .lrc file the user names, or into an .lrc file beside an audio file.
class SaveCommands {
 public:
  // Where the balloon after a save points, relative to the window's lower right corner.
  static constexpr int kBalloonRightInset = 30;
  static constexpr int kBalloonAboveStatusBar = 20;

  SaveCommands(const lyrics::LyricsList& list, const lyrics::HeaderFields& header,
               const playback::SongRow& song, SavedLyricsStore& store,
               const platform::LocalClock& clock, platform::Prompter& prompter,
               platform::Dialogs& dialogs, SaveBalloonView& balloon);

  // Adds the lyrics, the four header fields and the song path to the library as a new record
  // (refused when all of them are empty) and confirms with a balloon.
  void saveLyrics();
  // Writes the lines alone to an .lrc file the user chooses.
  void saveLyricsAs();
  // Writes the header tags and the lines to an .lrc file beside an audio file the user picks.
  void writeLyricsBesideAudio();

  // The balloon's anchor point for a window frame.
  static std::pair<int, int> balloonAnchor(const WindowFrame& frame);

 private:
  const lyrics::LyricsList& m_list;
  const lyrics::HeaderFields& m_header;
  const playback::SongRow& m_song;
  SavedLyricsStore& m_store;
  const platform::LocalClock& m_clock;
  platform::Prompter& m_prompter;
  platform::Dialogs& m_dialogs;
  SaveBalloonView& m_balloon;
  // The path confirmed in each dialog the last time, shown as its initial name.
  std::string m_lastSaveAsPath;
  std::string m_lastAudioPath;
};

}  // namespace files
