#pragma once

#include <QObject>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "app/services.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/double_click_mode.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "shell/command_registry.h"

namespace app {

class BackgroundLyricsReader;
class CommandActions;
class DocumentBindings;
class FontBindings;
class LyricsBindings;
class LyricsListModel;
class MainWindow;
class PanelBindings;
class PlaybackBindings;
class SavedLyricsBindings;
class TestPlayBindings;
class VolumeBindings;

// The composition root: owns the document's models, the command registry and the main window,
// hands them with the services to each subsystem's bindings, which register their own commands
// and bind their own controls, and runs the start-up sequence. It takes them down from the
// outside in: everything that watches the window's controls goes before the window.
class EditorApp : public QObject {
  Q_OBJECT

 public:
  // `arguments` are the command-line arguments after the program name, as the bytes the shell
  // passed: a file name that is not UTF-8 must still name its file.
  EditorApp(std::vector<std::string> arguments, Services services);
  ~EditorApp() override;

  // Runs the start-up sequence and shows the main window.
  void start();
  // Hides the volume panel and restores the window height when the pointer leaves its zone.
  void onMainWindowMouseMove(QPoint pos);
  // Closes the main window, which ends the program.
  void exitProgram();

  MainWindow& window() const { return *m_window; }
  lyrics::LyricsList& lyricsList() { return m_lyricsList; }
  lyrics::StatusBar& statusBar() { return m_statusBar; }
  lyrics::HeaderFields& headerFields() { return m_headerFields; }
  lyrics::CurrentTimeTag& currentTimeTag() { return m_currentTimeTag; }
  lyrics::DoubleClickMode& doubleClickMode() { return m_doubleClickMode; }
  // Every command of the editor by name.
  shell::CommandRegistry& commands() { return m_commands; }
  LyricsListModel& lyricsModel() const;
  // Reads the lyrics files of the dialog and of drops.
  BackgroundLyricsReader& lyricsReader() const;
  PlaybackBindings& playback() const { return *m_playback; }
  LyricsBindings& lyricsBindings() const { return *m_lyricsBindings; }
  VolumeBindings& volume() const { return *m_volume; }
  SavedLyricsBindings& savedLyrics() const { return *m_savedLyrics; }

 private:
  std::vector<std::string> m_arguments;
  Services m_services;

  lyrics::LyricsList m_lyricsList;
  lyrics::StatusBar m_statusBar;
  lyrics::HeaderFields m_headerFields;
  lyrics::CurrentTimeTag m_currentTimeTag;
  lyrics::DoubleClickMode m_doubleClickMode;
  shell::CommandRegistry m_commands;

  std::unique_ptr<MainWindow> m_window;
  // They watch the window's controls; declared after it, they are destroyed before it, in
  // reverse order.
  std::unique_ptr<DocumentBindings> m_document;
  std::unique_ptr<PlaybackBindings> m_playback;
  std::unique_ptr<LyricsBindings> m_lyricsBindings;
  std::unique_ptr<TestPlayBindings> m_testPlay;
  std::unique_ptr<PanelBindings> m_panels;
  std::unique_ptr<VolumeBindings> m_volume;
  std::unique_ptr<SavedLyricsBindings> m_savedLyrics;
  std::unique_ptr<FontBindings> m_font;
  std::unique_ptr<CommandActions> m_commandActions;
};

}  // namespace app
