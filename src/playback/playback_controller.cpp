#include "playback/playback_controller.h"

#include <algorithm>

#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"
#include "playback/playback_texts.h"
#include "playback/song_file_name.h"

namespace playback {

PlaybackController::PlaybackController(SongRow& song, lyrics::HeaderFields& header,
                                       lyrics::StatusBar& status, PlaybackDisplay& display,
                                       PlayClock& clock, AudioPlayer& player,
                                       platform::Prompter& prompter, platform::Dialogs& dialogs,
                                       platform::Clipboard& clipboard)
    : m_song(song),
      m_header(header),
      m_status(status),
      m_display(display),
      m_clock(clock),
      m_player(player),
      m_prompter(prompter),
      m_dialogs(dialogs),
      m_clipboard(clipboard) {
  m_headerListener =
      m_header.addListener([this](lyrics::HeaderFields::Field field) { onHeaderChanged(field); });
}

PlaybackController::~PlaybackController() {
  // The header fields and the player may outlive the commands; neither may call them any more.
  m_header.removeListener(m_headerListener);
  m_player.stop();
}

void PlaybackController::openAudioFile() {
  const auto chosen =
      m_dialogs.openFile("tolva_打开音频文件", "音频文件(*.mp3)|*.mp3|微软格式(*.wma)|*.wma",
                         m_dialogs.desktopDirectory());
  if (!chosen || chosen->empty()) return;
  const std::string fileName = fileNameOfPath(*chosen);
  const auto format = audioFormatOf(fileName);
  if (!format) return;
  setCurrentSong(*chosen, fileName, *format);
}

void PlaybackController::dropAudioFile(const std::string& droppedText) {
  const std::string fileName = fileNameOfPath(droppedText);
  const auto format = audioFormatOf(fileName);
  // The list is emptied before the check, so a refused drop leaves no song behind.
  m_song.clear();
  if (!format) {
    m_prompter.inform("打开的音频格式错误，标准格式为*.mp3 *.wma", "tolva_格式错误",
                      platform::MessageIcon::Error);
    return;
  }
  setCurrentSong(droppedText, fileName, *format);
}

void PlaybackController::setCurrentSong(const std::string& path, const std::string& fileName,
                                        const std::string& format) {
  const SongNameParts parts = splitSongName(fileName);
  if (parts.singer) m_header.setText(lyrics::HeaderFields::Singer, *parts.singer);
  m_header.setText(lyrics::HeaderFields::Song, parts.title);
  SongRow::Cells cells;
  cells[SongRow::Title] = m_header.text(lyrics::HeaderFields::Song);
  if (parts.singer) cells[SongRow::Singer] = m_header.text(lyrics::HeaderFields::Singer);
  cells[SongRow::Format] = format;
  cells[SongRow::Check] = texts::fileOk();
  cells[SongRow::Path] = path;
  m_song.setRow(std::move(cells));
}

void PlaybackController::playSong() {
  if (!m_song.hasSong()) {
    m_clock.reset();
    openAudioFile();
    return;
  }
  playSongFromPopup();
}

void PlaybackController::playSongFromPopup() {
  m_clock.reset();
  if (hasPlayableFormat()) {
    playFromStart(m_song.cell(SongRow::Path));
  } else {
    reportWrongFile();
  }
}

bool PlaybackController::hasPlayableFormat() const {
  const std::string& format = m_song.cell(SongRow::Format);
  return format == texts::mp3Format() || format == texts::wmaFormat();
}

void PlaybackController::playFrom(double seconds) {
  // The clock goes first: what the player says from the moment of the jump on counts.
  if (m_state != PlaybackState::Idle) {
    m_clock.jumpTo(seconds);
    if (const auto went = m_player.seek(seconds)) {
      if (*went != seconds) m_clock.retarget(*went);
      m_clock.start();
      m_player.resume();
      setState(PlaybackState::Playing);
      return;
    }
  }
  // Nothing plays (idle, or continued after a stop): the song starts there as 播放 starts it.
  if (!m_song.hasSong()) {
    playSong();
    return;
  }
  m_clock.reset();
  if (!hasPlayableFormat()) {
    reportWrongFile();
    return;
  }
  m_clock.jumpTo(seconds);
  m_clock.start();
  setState(PlaybackState::Playing);
  m_player.play(m_song.cell(SongRow::Path), seconds, *this);
}

void PlaybackController::seekBy(double seconds) {
  if (m_state == PlaybackState::Idle) return;
  const double target = std::max(0.0, static_cast<double>(m_clock.elapsedNs()) / 1e9 + seconds);
  m_clock.jumpTo(target);
  const auto went = m_player.seek(target);
  if (went && *went != target) m_clock.retarget(*went);
}

void PlaybackController::playFromStart(const std::string& path) {
  m_clock.start();
  // Before the player is asked: a player that fails at once reports, and the stop that
  // follows must leave the state idle.
  setState(afterPlay(m_state));
  m_player.play(path, 0.0, *this);
}

void PlaybackController::setState(PlaybackState state) {
  m_state = state;
  m_display.showPlaybackState(state);
}

void PlaybackController::reportWrongFile() {
  m_prompter.inform("错误文件", "tolva_错误文件", platform::MessageIcon::Error);
}

void PlaybackController::togglePause() {
  if (!m_song.hasSongFile()) return;
  // The player is told even where nothing plays; it does nothing then.
  if (offersResume(m_state)) {
    m_clock.start();
    m_player.resume();
  } else {
    m_clock.halt();
    m_player.pause();
  }
  setState(afterTogglePause(m_state));
}

void PlaybackController::stopPlayback() {
  m_player.stop();
  m_display.setProgress(0);
  m_clock.reset();
  m_clock.halt();
  m_status.setText(lyrics::StatusBar::PlayTime,
                   lyrics::status_texts::playTimeText(lyrics::kZeroTimeTag));
  m_display.setTagCaption(texts::tagCaptionReset());
  setState(PlaybackState::Idle);
  m_status.setText(lyrics::StatusBar::Progress, lyrics::status_texts::progressText(0));
}

void PlaybackController::setSpeed(double speed) {
  if (speed == m_speed) return;
  m_speed = speed;
  m_player.setSpeed(speed);
}

std::optional<double> PlaybackController::lendPlayer() {
  if (clockRuns(m_state)) {
    m_clock.halt();
    m_player.pause();
    setState(PlaybackState::Paused);
  }
  std::optional<double> songSeconds;
  // Paused after a stop, the clock stands with no song in the player: there is none to put back.
  if (m_state != PlaybackState::Idle && m_player.heardPosition()) {
    songSeconds = static_cast<double>(m_clock.elapsedNs()) / 1e9;
  }
  m_player.stop();
  m_player.setSpeed(1.0);
  return songSeconds;
}

void PlaybackController::takePlayerBack(std::optional<double> songSeconds) {
  m_player.stop();
  m_player.setSpeed(m_speed);
  if (!songSeconds || m_state == PlaybackState::Idle || !m_song.hasSongFile()) return;
  m_player.play(m_song.cell(SongRow::Path), *songSeconds, *this);
  m_player.pause();
}

void PlaybackController::copySongPath() { m_clipboard.setText(m_song.cell(SongRow::Path)); }

std::string PlaybackController::songFolder() const {
  const std::string& path = m_song.cell(SongRow::Path);
  const std::string name = fileNameOfPath(path);
  if (path.empty() || name.size() >= path.size()) return {};
  return path.substr(0, path.size() - name.size());
}

void PlaybackController::onPlayProgress(int percent) {
  m_display.setProgress(percent);
  m_status.setText(lyrics::StatusBar::Progress, lyrics::status_texts::progressText(percent));
  if (m_display.progress() == 100) stopPlayback();
}

void PlaybackController::onPlayError(PlayError error) {
  // Without this the clock would run on over silence, and the stamps would be meaningless.
  stopPlayback();
  if (error == PlayError::NoAudioOutput) {
    // The file is fine; calling it wrong would send the user looking in the wrong place.
    m_prompter.inform("无法打开声音设备，歌曲不能播放。请检查系统的声音设置。", "tolva_错误提示",
                      platform::MessageIcon::Error);
  } else {
    reportWrongFile();
  }
}

void PlaybackController::onHeaderChanged(lyrics::HeaderFields::Field field) {
  using lyrics::StatusBar;
  using lyrics::status_texts::Colon;
  using lyrics::status_texts::label;
  // Unlike the start-up texts of the same parts, these have an ASCII colon.
  if (field == lyrics::HeaderFields::Singer) {
    m_status.setText(StatusBar::Singer, label(StatusBar::Singer, Colon::Ascii) +
                                            m_header.text(lyrics::HeaderFields::Singer));
  } else if (field == lyrics::HeaderFields::Song) {
    m_status.setText(StatusBar::Song, label(StatusBar::Song, Colon::Ascii) +
                                          m_header.text(lyrics::HeaderFields::Song));
  }
}

}  // namespace playback
