#pragma once

#include <QObject>
#include <memory>

#include "app/editor_state.h"
#include "app/services.h"
#include "playback/playback_jumps.h"
#include "shell/command_registry.h"

class QAction;

namespace app {

class MainWindow;

// Connects the playback state and commands to the main window: the playback
// toolbar, the tag button's caption, the progress slider, the song list with its pop-up, the
// song drop and the 10 ms tick of the play clock. Its owner destroys it before the window.
class PlaybackBindings : public QObject {
  Q_OBJECT

 public:
  // Binds the playback state of `state` to `window` and registers its commands in `registry`.
  PlaybackBindings(MainWindow& window, EditorState& state, shell::CommandRegistry& registry);
  ~PlaybackBindings() override;

  // Opens the current song's folder in the file manager.
  void openSongFolder();

 private:
  // Registers the playback commands of the playback toolbar, the song pop-up and the jumps of
  // the correction menu.
  void registerCommands(shell::CommandRegistry& registry);
  void bindDisplay();
  void bindSongList();
  void showSongRow();
  // Shows the playback speed beside the tag button while it is not 1.0.
  void showSpeed();

  MainWindow& m_window;
  EditorState& m_state;
  playback::PlaybackJumps m_jumps;
  bool m_updatingSelection = false;
};

}  // namespace app
