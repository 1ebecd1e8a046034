#pragma once

#include <QObject>
#include <memory>

#include "lyrics/current_time_tag.h"
#include "lyrics/header_fields.h"
#include "lyrics/status_bar.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/monotonic_clock.h"
#include "platform/prompter.h"
#include "playback/audio_player.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "playback/playback_display.h"
#include "playback/song_row.h"
#include "shell/command_registry.h"

class QAction;

namespace app {

class MainWindow;

// Owns the playback models and commands and connects them to the main window: the playback
// toolbar, the tag button's caption, the progress slider, the song list with its pop-up, the
// song drop and the 10 ms tick of the play clock. Its owner destroys it before the window.
class PlaybackBindings : public QObject {
  Q_OBJECT

 public:
  // `player` plays the songs; `clipboard` receives copied paths. Both must outlive this.
  PlaybackBindings(MainWindow& window, shell::CommandRegistry& registry, lyrics::StatusBar& status,
                   lyrics::HeaderFields& header, lyrics::CurrentTimeTag& currentTag,
                   platform::Prompter& prompter, platform::Dialogs& dialogs,
                   platform::Clipboard& clipboard, playback::AudioPlayer& player);
  ~PlaybackBindings() override;

  // The current song's row (the song list's model).
  playback::SongRow& songRow() { return m_songRow; }
  // Captions and slider position of the playback controls.
  playback::PlaybackDisplay& display() { return m_display; }
  // The play clock.
  playback::PlayClock& clock() { return m_clock; }
  // The playback commands.
  playback::PlaybackController& controller() { return m_controller; }

  // Opens the current song's folder in the file manager.
  void openSongFolder();

 private:
  // Registers the playback commands of the playback toolbar and the song pop-up.
  void registerCommands(shell::CommandRegistry& registry);
  void bindDisplay();
  void bindSongList();
  void showSongRow();
  QAction* playbackButton(int index) const;

  MainWindow& m_window;
  playback::AudioPlayer& m_player;
  playback::SongRow m_songRow;
  playback::PlaybackDisplay m_display;
  platform::SteadyClock m_steadyClock;
  playback::PlayClock m_clock;
  playback::PlaybackController m_controller;
  bool m_updatingSelection = false;
};

}  // namespace app
