#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "app/editor_state.h"
#include "app/services.h"
#include "app/window/saved_lyrics_model.h"
#include "files/save_balloon_view.h"
#include "files/save_commands.h"
#include "files/saved_lyrics_commands.h"
#include "files/saved_lyrics_store.h"
#include "files/saved_panel.h"
#include "files/saved_panel_view.h"
#include "platform/local_clock.h"
#include "platform/random_source.h"
#include "shell/command_registry.h"

class QGroupBox;
class QLabel;
class QTreeView;

namespace app {

class BalloonTip;
class MainWindow;

// Owns the saved-lyrics library with its store, panel and commands, and connects them to the
// main window: 保存歌词 and 歌词另存为... (menu and the playback toolbar's 保存 and 另存),
// 镶入歌词到MP3音频文件中, the library list `超级列表框1` with its pop-up and double-click, the
// toggle picture `图片框_开` and the two slide timers. Its owner destroys it before the window;
// should a watched control go first all the same, the bindings let go of it.
class SavedLyricsBindings : public QObject,
                            private files::SavedPanelView,
                            private files::SaveBalloonView {
  Q_OBJECT

 public:
  // Binds to `window` and registers its commands in `registry`; the library's seven files live
  // in the program directory of `services`.
  SavedLyricsBindings(MainWindow& window, EditorState& state, const Services& services,
                      shell::CommandRegistry& registry);
  ~SavedLyricsBindings() override;

  // Start-up: the toggle picture shows the closed panel.
  void showClosedPicture() { showToggleImage(false); }
  // Start-up: the seven files fill the library list.
  void loadSavedLyrics() { m_store.loadSavedLyrics(); }
  // Shutdown: the library list is written to the seven files.
  void storeSavedLyrics() { m_store.storeSavedLyrics(); }

  // The models and commands, for callers and tests that run them directly.
  files::SavedLyricsStore& store() { return m_store; }
  files::SavedPanel& panel() { return m_panel; }
  files::SaveCommands& saveCommands() { return m_save; }
  files::SavedLyricsCommands& commands() { return m_commands; }
  // The balloon of the last save; nullptr before the first one.
  BalloonTip* balloon() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Registers the save commands and the commands of the library's pop-up.
  void registerCommands(shell::CommandRegistry& registry);
  void bindControls();

  void setPanelLeft(int left) override;
  void showToggleImage(bool open) override;
  files::WindowFrame windowFrame() const override;
  void showBalloon(const std::string& text, int x, int y) override;

  MainWindow& m_window;
  // The controls the bindings drive or filter. The filter only compares against them.
  QPointer<QGroupBox> m_panelBox;
  QPointer<QLabel> m_picture;
  QPointer<QTreeView> m_list;
  QPointer<QWidget> m_listViewport;
  QPointer<BalloonTip> m_balloon;
  platform::SystemLocalClock m_clock;
  platform::SystemRandomSource m_random;
  files::SavedLyricsStore m_store;
  files::SavedPanel m_panel;
  files::SaveCommands m_save;
  files::SavedLyricsCommands m_commands;
  // Observes the library; declared last, so it goes first.
  SavedLyricsModel m_model;
};

}  // namespace app
