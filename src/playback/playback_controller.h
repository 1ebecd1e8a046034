#pragma once

#include <optional>
#include <string>

#include "lyrics/header_fields.h"
#include "lyrics/status_bar.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/prompter.h"
#include "playback/audio_player.h"
#include "playback/play_clock.h"
#include "playback/playback_display.h"
#include "playback/playback_state.h"
#include "playback/song_row.h"

namespace playback {

// The playback commands: choosing the song, play, pause, stop, the player's progress and
// errors, and the song list's pop-up commands. Runs on the GUI thread only.
class PlaybackController : public PlaybackListener {
 public:
  PlaybackController(SongRow& song, lyrics::HeaderFields& header, lyrics::StatusBar& status,
                     PlaybackDisplay& display, PlayClock& clock, AudioPlayer& player,
                     platform::Prompter& prompter, platform::Dialogs& dialogs,
                     platform::Clipboard& clipboard);
  // Stops the player and leaves the header fields, which may both outlive the commands.
  ~PlaybackController() override;
  PlaybackController(const PlaybackController&) = delete;
  PlaybackController& operator=(const PlaybackController&) = delete;

  // Lets the user choose an .mp3 or .wma file on the desktop and makes it the current song.
  void openAudioFile();
  // Takes a file dropped on the window; refuses other endings and several files at once.
  void dropAudioFile(const std::string& droppedText);
  // Makes `path` the current song: title and singer from `fileName`, and row 0.
  void setCurrentSong(const std::string& path, const std::string& fileName,
                      const std::string& format);
  // Plays the current song from the start (opens the dialog when there is none).
  void playSong();
  // The song list pop-up's 播放: like playSong but never opens the dialog.
  void playSongFromPopup();
  // Plays `path` from its start with the clock running, as test play does: the format cell is
  // not looked at.
  void playFromStart(const std::string& path);
  // Plays the current song from `seconds`, playing, paused or idle alike: a playback there is
  // moved, otherwise the song starts there as playSong starts it. Afterwards it plays and the
  // pause button offers to pause.
  void playFrom(double seconds);
  // Moves a playing or paused song by `seconds` within the song (never before its start, never
  // past its end, where a playing song ends); idle: nothing.
  void seekBy(double seconds);
  // Pauses or continues, as the playback state offers.
  void togglePause();
  // The one reset of stop, end of song and end of test play.
  void stopPlayback();
  // Plays this and every later playback at `speed` times the song's pace (for the run).
  void setSpeed(double speed);
  // The playback speed; 1.0 at start.
  double speed() const { return m_speed; }
  // Lends the player to another sound (the key-lag measurement): a playing song is paused where
  // it is heard, as 暂停 pauses it, and the player is left stopped at 1.0x. Gives where the song
  // stood, in seconds, when it was in the player; nothing when none was.
  std::optional<double> lendPlayer();
  // Takes the player back after the other sound: the song that was in it is put back at
  // `songSeconds`, paused, at the playback speed.
  void takePlayerBack(std::optional<double> songSeconds);
  // Puts the current song's path on the clipboard.
  void copySongPath();
  // Where playback stands; the pause button shows it.
  PlaybackState state() const { return m_state; }
  // Folder of the current song (without the file name); "" when there is no song.
  std::string songFolder() const;

  // A progress report of the player: slider, status part 1, and the end of the song at 100.
  void onPlayProgress(int percent) override;
  // The player could not play the song: reset and tell the user.
  void onPlayError(PlayError error) override;

 private:
  void setState(PlaybackState state);
  bool hasPlayableFormat() const;
  void reportWrongFile();
  void onHeaderChanged(lyrics::HeaderFields::Field field);

  SongRow& m_song;
  lyrics::HeaderFields& m_header;
  lyrics::StatusBar& m_status;
  PlaybackDisplay& m_display;
  PlayClock& m_clock;
  AudioPlayer& m_player;
  platform::Prompter& m_prompter;
  platform::Dialogs& m_dialogs;
  platform::Clipboard& m_clipboard;
  std::size_t m_headerListener = 0;
  PlaybackState m_state = PlaybackState::Idle;
  double m_speed = 1.0;
};

}  // namespace playback
