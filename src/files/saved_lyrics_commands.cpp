#include "files/saved_lyrics_commands.h"

#include <filesystem>
#include <system_error>

#include "files/lyrics_file_texts.h"
#include "files/user_file_writes.h"
#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"
#include "platform/file_io.h"
#include "playback/playback_texts.h"

namespace files {

using lyrics::HeaderFields;
using playback::SongRow;

SavedLyricsCommands::SavedLyricsCommands(SavedLyricsStore& store, SavedPanel& panel,
                                         lyrics::LyricsList& list, lyrics::HeaderFields& header,
                                         playback::SongRow& song, lyrics::StatusBar& status,
                                         platform::Prompter& prompter, platform::Dialogs& dialogs,
                                         platform::Clipboard& clipboard,
                                         platform::RandomSource& random)
    : m_store(store),
      m_panel(panel),
      m_list(list),
      m_header(header),
      m_song(song),
      m_status(status),
      m_prompter(prompter),
      m_dialogs(dialogs),
      m_clipboard(clipboard),
      m_random(random) {}

const SavedLyricsRecord* SavedLyricsCommands::selectedRecord() const {
  const SavedLyricsLibrary& library = m_store.library();
  const int row = library.selectedRow();
  if (row < 0 || row >= library.count()) return nullptr;
  return &library.record(row);
}

void SavedLyricsCommands::openSavedRecord() {
  const SavedLyricsRecord* selected = selectedRecord();
  if (!selected) return;
  // A copy: the boxes' listeners may run other code before the last field is read.
  const SavedLyricsRecord record = *selected;
  m_header.setText(HeaderFields::Singer, record.singer);
  m_header.setText(HeaderFields::Song, record.song);
  m_header.setText(HeaderFields::Album, record.album);
  m_header.setText(HeaderFields::Editor, record.editor);
  // The song file is not looked at: the row only describes it.
  SongRow::Cells cells;
  cells[SongRow::Title] = record.song;
  cells[SongRow::Singer] = record.singer;
  cells[SongRow::Format] = playback::texts::formatOf(lyrics::lastBytes(record.songPath, 3));
  cells[SongRow::Check] = playback::texts::fileOk();
  cells[SongRow::Path] = record.songPath;
  m_song.setRow(std::move(cells));
  m_list.replaceAll(lyrics::splitLyricsText(record.lyrics));
  // The library keeps GBK with CR LF, and so does a document taken from it.
  m_list.setFileForm({});
  m_list.setSelection(-1);
  // The full byte count, CR LF pairs included.
  using lyrics::StatusBar;
  using lyrics::status_texts::Colon;
  using lyrics::status_texts::label;
  m_status.setText(StatusBar::Lines,
                   label(StatusBar::Lines, Colon::Ascii) + std::to_string(m_list.count()));
  m_status.setText(StatusBar::Characters, label(StatusBar::Characters, Colon::Ascii) +
                                              std::to_string(record.lyrics.size()));
  m_panel.closeSavedPanel();
}

void SavedLyricsCommands::exportRecordToDesktop() {
  const SavedLyricsRecord* record = selectedRecord();
  if (!record) return;
  const int number = m_random.between(0, kMaxExportNumber);
  std::string desktop = m_dialogs.desktopDirectory();
  if (!desktop.empty() && desktop.back() != '/') desktop += '/';
  std::error_code ignored;  // a folder that cannot be made shows up as a failed write
  std::filesystem::create_directories(platform::nativePath(desktop), ignored);
  writeUserFile(m_prompter, desktop + exportFileName(number), exportText(*record));
}

void SavedLyricsCommands::copySavedSongPath() {
  if (const SavedLyricsRecord* record = selectedRecord()) m_clipboard.setText(record->songPath);
}

void SavedLyricsCommands::copySavedLyrics() {
  if (const SavedLyricsRecord* record = selectedRecord()) m_clipboard.setText(record->lyrics);
}

void SavedLyricsCommands::deleteSavedRecord() {
  if (!selectedRecord()) return;
  if (!m_prompter.ask("确认删除当前选中的歌词文件？", "tolva_提示：",
                      platform::MessageIcon::None)) {
    return;
  }
  // The row selected once the box has closed.
  m_store.deleteRecord(m_store.library().selectedRow());
}

void SavedLyricsCommands::clearSavedRecords() {
  if (!m_prompter.ask("确认清空所有歌词文件？", "tolva_提示：", platform::MessageIcon::None))
    return;
  m_store.deleteAllRecords();
}

}  // namespace files
