#include "app/editor_app.h"

#include <QGroupBox>
#include <QLabel>

#include "app/command_actions.h"
#include "app/commands_not_built.h"
#include "app/document_bindings.h"
#include "app/feedback_bindings.h"
#include "app/font_bindings.h"
#include "app/lyrics_bindings.h"
#include "app/main_window.h"
#include "app/panel_bindings.h"
#include "app/playback_bindings.h"
#include "app/saved_lyrics_bindings.h"
#include "app/skin.h"
#include "app/test_play_bindings.h"
#include "app/volume_bindings.h"
#include "shell/curtain.h"

namespace app {

EditorApp::EditorApp(std::vector<std::string> arguments, Services services)
    : m_arguments(std::move(arguments)),
      m_services(std::move(services)),
      m_window(std::make_unique<MainWindow>()) {
  MainWindow& window = *m_window;
  Services& system = m_services;
  m_document = std::make_unique<DocumentBindings>(
      window, DocumentBindings::Models{m_lyricsList, m_headerFields, m_statusBar}, system.prompter,
      system.dialogs, m_commands);
  m_playback = std::make_unique<PlaybackBindings>(window, m_commands, m_statusBar, m_headerFields,
                                                  m_currentTimeTag, system.prompter, system.dialogs,
                                                  system.clipboard, system.player);
  m_lyricsBindings = std::make_unique<LyricsBindings>(
      window, m_commands,
      LyricsBindings::Models{m_lyricsList, m_playback->clock(), m_doubleClickMode, m_headerFields,
                             m_statusBar, system.prompter},
      system.programDirectory, std::function<void()>([this] { m_playback->songRow().clear(); }));
  m_testPlay = std::make_unique<TestPlayBindings>(window, m_commands, m_lyricsList,
                                                  m_currentTimeTag, system.prompter, *m_playback);
  m_panels = std::make_unique<PanelBindings>(window, m_commands);
  m_volume = std::make_unique<VolumeBindings>(window, system.masterVolume);
  m_savedLyrics = std::make_unique<SavedLyricsBindings>(
      window, m_commands,
      SavedLyricsBindings::Models{m_lyricsList, m_headerFields, m_playback->songRow(), m_statusBar,
                                  system.prompter, system.dialogs, system.clipboard},
      system.programDirectory);
  m_font = std::make_unique<FontBindings>(window, m_commands, system.fontChooser);
  registerFeedbackCommands(m_commands, &window, system.prompter, system.mailSender);
  m_commands.add("ExitProgram", [this] { exitProgram(); });
  registerCommandsNotBuilt(m_commands);
  // Last: every item of the menus and toolbars must find its command registered.
  m_commandActions = std::make_unique<CommandActions>(window, m_commands);

  connect(&window, &MainWindow::surfaceMouseMoved, this, &EditorApp::onMainWindowMouseMove);
  // The saved-lyrics library is written back when the window closes; closing never waits for a
  // question. It was also written after each change, so this only repeats what is on disk.
  window.addClosingStep([this] { m_savedLyrics->storeSavedLyrics(); });
}

EditorApp::~EditorApp() = default;

LyricsListModel& EditorApp::lyricsModel() const { return m_document->listModel(); }

BackgroundLyricsReader& EditorApp::lyricsReader() const { return m_document->reader(); }

void EditorApp::start() {
  m_services.association.registerAssociation(m_services.refreshDesktopCaches);
  m_document->loadCommandLineFile(m_arguments);
  m_window->setWindowOpacity(245.0 / 255);
  m_window->resize(MainWindow::kDesignWidth, m_window->height());
  m_window->centreOnScreen();
  m_lyricsList.setSelection(0);
  // The two halves of the test-play curtain wait left and right of the visible area.
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览左"))
      ->move(shell::Curtain::kLeftParked, shell::Curtain::kTop);
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览右"))
      ->move(shell::Curtain::kRightParked, shell::Curtain::kTop);
  m_currentTimeTag.set(lyrics::kZeroTimeTag);
  m_savedLyrics->showClosedPicture();
  // Both drop targets were connected with the window; the song drop is served by its owner.
  m_doubleClickMode.set(true, false);
  m_savedLyrics->loadSavedLyrics();
  applySkin(kStartupSkin);
  m_volume->initVolume();
  m_window->show();
}

void EditorApp::onMainWindowMouseMove(QPoint pos) {
  const int x = pos.x();
  const int y = pos.y();
  if (x < 23 || x > 485 || y > 613 || y < 530) {
    m_window->volumePanel()->hide();
    m_window->resize(m_window->width(), MainWindow::kDesignHeight);
  }
}

void EditorApp::exitProgram() { m_window->close(); }

}  // namespace app
