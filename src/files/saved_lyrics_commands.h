#pragma once

#include "files/saved_lyrics_store.h"
#include "files/saved_panel.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/prompter.h"
#include "platform/random_source.h"
#include "playback/song_row.h"

namespace files {

// The commands of the library list's pop-up menu and its double-click. The five that act on
// one record use the selected row and do nothing when none is selected.
class SavedLyricsCommands {
 public:
  // Largest random number in an export file's name.
  static constexpr int kMaxExportNumber = 9999999;

  SavedLyricsCommands(SavedLyricsStore& store, SavedPanel& panel, lyrics::LyricsList& list,
                      lyrics::HeaderFields& header, playback::SongRow& song,
                      lyrics::StatusBar& status, platform::Prompter& prompter,
                      platform::Dialogs& dialogs, platform::Clipboard& clipboard,
                      platform::RandomSource& random);

  // Loads the selected record into the editor (boxes, song row, lines, status) and closes
  // the panel.
  void openSavedRecord();
  // Writes the selected record as a text file on the user's desktop.
  void exportRecordToDesktop();
  // Puts the selected record's song path on the clipboard.
  void copySavedSongPath();
  // Puts the selected record's lyrics on the clipboard.
  void copySavedLyrics();
  // Deletes the selected record after asking.
  void deleteSavedRecord();
  // Deletes every record after asking.
  void clearSavedRecords();

 private:
  // The selected record, or nullptr when no row is selected.
  const SavedLyricsRecord* selectedRecord() const;

  SavedLyricsStore& m_store;
  SavedPanel& m_panel;
  lyrics::LyricsList& m_list;
  lyrics::HeaderFields& m_header;
  playback::SongRow& m_song;
  lyrics::StatusBar& m_status;
  platform::Prompter& m_prompter;
  platform::Dialogs& m_dialogs;
  platform::Clipboard& m_clipboard;
  platform::RandomSource& m_random;
};

}  // namespace files
