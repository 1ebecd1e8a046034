#include "files/save_commands.h"

#include "files/lyrics_file_texts.h"
#include "files/save_time_text.h"
#include "files/user_file_writes.h"
#include "lyrics/text_rules.h"
#include "platform/file_io.h"

namespace files {

using lyrics::HeaderFields;

SaveCommands::SaveCommands(const lyrics::LyricsList& list, const lyrics::HeaderFields& header,
                           const playback::SongRow& song, SavedLyricsStore& store,
                           const platform::LocalClock& clock, platform::Prompter& prompter,
                           platform::Dialogs& dialogs, SaveBalloonView& balloon)
    : m_list(list),
      m_header(header),
      m_song(song),
      m_store(store),
      m_clock(clock),
      m_prompter(prompter),
      m_dialogs(dialogs),
      m_balloon(balloon) {}

std::pair<int, int> SaveCommands::balloonAnchor(const WindowFrame& frame) {
  return {frame.left + frame.width - kBalloonRightInset,
          frame.top + frame.height - frame.statusBarHeight - kBalloonAboveStatusBar};
}

void SaveCommands::saveLyrics() {
  const std::string& songPath = m_song.cell(playback::SongRow::Path);
  if (m_header.text(HeaderFields::Album).empty() && m_header.text(HeaderFields::Song).empty() &&
      m_header.text(HeaderFields::Singer).empty() && m_header.text(HeaderFields::Editor).empty() &&
      m_list.count() == 0 && songPath.empty()) {
    m_prompter.inform("保存无效", "tolva_提示：", platform::MessageIcon::Warning);
    return;
  }
  SavedLyricsRecord record;
  record.singer = m_header.text(HeaderFields::Singer);
  record.song = m_header.text(HeaderFields::Song);
  record.album = m_header.text(HeaderFields::Album);
  record.editor = m_header.text(HeaderFields::Editor);
  record.songPath = songPath;
  record.savedAt = saveTimeText(m_clock.now());
  record.lyrics = lyrics::joinLyricsText(m_list);
  // The record stays in the library even when the files could not be written (the store has
  // said so); the next change or the shutdown writes it again. Only a stored record is
  // confirmed as saved.
  if (!m_store.appendRecord(std::move(record))) return;
  const auto [x, y] = balloonAnchor(m_balloon.windowFrame());
  m_balloon.showBalloon("歌词已保存，双击查看歌词文件", x, y);
}

void SaveCommands::saveLyricsAs() {
  const auto chosen = m_dialogs.saveFile("", "歌词文件(*.lrc)|*.lrc", m_lastSaveAsPath);
  if (!chosen) return;
  const std::string target = saveAsTarget(*chosen);
  // The dialog asked about the name as typed; a name that gained ".lrc" is asked about here.
  if (target != *chosen && platform::fileExists(target) &&
      !m_prompter.ask("文件已存在，是否覆盖：" + target, "tolva_提示：",
                      platform::MessageIcon::Warning)) {
    return;
  }
  // Written in the form of the file the lyrics came from: UTF-8 stays UTF-8, LF stays LF.
  const lyrics::FileForm::Encoding encoding = m_list.fileForm().encoding;
  if (!writeUserFile(m_prompter, target, inFileEncoding(lrcBody(m_list), encoding))) return;
  m_lastSaveAsPath = *chosen;
}

void SaveCommands::writeLyricsBesideAudio() {
  const auto chosen = m_dialogs.openFile(
      "tolva_LRC镶嵌", "音频文件(*.mp3)|*.mp3|微软格式(*.wma)|*.wma", m_lastAudioPath);
  if (!chosen) return;
  const std::string target = besideAudioTarget(*chosen);
  const lyrics::FileForm::Encoding encoding = m_list.fileForm().encoding;
  if (!writeUserFile(m_prompter, target, inFileEncoding(lrcWithHeader(m_header, m_list), encoding)))
    return;
  m_lastAudioPath = *chosen;
}

}  // namespace files
