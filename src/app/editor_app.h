#pragma once

#include <QObject>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "app/editor_state.h"
#include "app/services.h"
#include "shell/command_registry.h"

namespace app {

class BackgroundLyricsReader;
class CommandActions;
class DocumentBindings;
class FontBindings;
class KeyLagBindings;
class LyricsBindings;
class LyricsListModel;
class MainWindow;
class PanelBindings;
class StatusBarBindings;
class PlaybackBindings;
class RecoveryBindings;
class SavedLyricsBindings;
class TestPlayBindings;
class UndoBindings;
class VolumeBindings;
class WaveformBindings;

// The composition root: owns the editor's state, the command registry and the main window,
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
  // Closes the main window, which ends the program.
  void exitProgram();

  MainWindow& window() const { return *m_window; }
  // Every model of the editor.
  EditorState& state() { return m_state; }
  // Every command of the editor by name.
  shell::CommandRegistry& commands() { return m_commands; }
  LyricsListModel& lyricsModel() const;
  // Reads the lyrics files of the dialog and of drops.
  BackgroundLyricsReader& lyricsReader() const;
  PlaybackBindings& playback() const { return *m_playback; }
  LyricsBindings& lyricsBindings() const { return *m_lyricsBindings; }
  SavedLyricsBindings& savedLyrics() const { return *m_savedLyrics; }
  UndoBindings& undo() const { return *m_undo; }
  WaveformBindings& waveform() const { return *m_waveform; }

 private:
  // Writes the .lrc association, once per run.
  void registerAssociationOnce();

  std::vector<std::string> m_arguments;
  Services m_services;

  shell::CommandRegistry m_commands;

  std::unique_ptr<MainWindow> m_window;
  // Its play clock ticks on a timer of the window, so it goes before the window.
  EditorState m_state;
  // They watch the window's controls; declared after it, they are destroyed before it, in
  // reverse order.
  std::unique_ptr<DocumentBindings> m_document;
  std::unique_ptr<PlaybackBindings> m_playback;
  std::unique_ptr<LyricsBindings> m_lyricsBindings;
  std::unique_ptr<TestPlayBindings> m_testPlay;
  std::unique_ptr<PanelBindings> m_panels;
  std::unique_ptr<StatusBarBindings> m_statusBar;
  std::unique_ptr<VolumeBindings> m_volume;
  std::unique_ptr<SavedLyricsBindings> m_savedLyrics;
  std::unique_ptr<FontBindings> m_font;
  std::unique_ptr<UndoBindings> m_undo;
  std::unique_ptr<RecoveryBindings> m_recovery;
  std::unique_ptr<WaveformBindings> m_waveform;
  std::unique_ptr<KeyLagBindings> m_keyLag;
  std::unique_ptr<CommandActions> m_commandActions;
  bool m_associationRegistered = false;
};

}  // namespace app
