#include "app/editor_app.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "app/command_actions.h"
#include "app/commands_not_built.h"
#include "app/gbk.h"
#include "app/lyrics_bindings.h"
#include "app/lyrics_list_model.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/panel_bindings.h"
#include "app/playback_bindings.h"
#include "app/saved_lyrics_bindings.h"
#include "app/skin.h"
#include "app/test_play_bindings.h"
#include "app/volume_bindings.h"
#include "feedback/ui/feedback_window.h"
#include "platform/native_path.h"

namespace app {

EditorApp::EditorApp(std::vector<std::string> arguments, Services services)
    : m_arguments(std::move(arguments)),
      m_services(std::move(services)),
      m_window(std::make_unique<MainWindow>()) {
  platform::Prompter& prompter = m_services.prompter;
  platform::Dialogs& dialogs = m_services.dialogs;
  const std::string& programFolder = m_services.programDirectory;
  m_importer =
      std::make_unique<lyrics::LyricsImporter>(m_lyricsList, m_statusBar, prompter, dialogs);
  m_lyricsModel = std::make_unique<LyricsListModel>(m_lyricsList);
  m_lyricsModel->attachView(m_window->lyricsView());

  bindStatusBar();
  bindHeaderFields();
  m_playback = std::make_unique<PlaybackBindings>(*m_window, m_statusBar, m_headerFields,
                                                  m_currentTimeTag, prompter, dialogs,
                                                  m_services.clipboard, m_services.player);
  m_lyricsBindings = std::make_unique<LyricsBindings>(
      *m_window,
      LyricsBindings::Models{m_lyricsList, m_currentTimeTag, m_doubleClickMode, m_headerFields,
                             m_statusBar, prompter},
      programFolder, std::function<void()>([this] { m_playback->songRow().clear(); }),
      std::function<void()>([this] { m_playback->clock().refresh(); }));
  m_testPlay = std::make_unique<TestPlayBindings>(*m_window, m_lyricsList, m_currentTimeTag,
                                                  prompter, *m_playback, m_services.player);
  m_panels = std::make_unique<PanelBindings>(*m_window);
  m_volume = std::make_unique<VolumeBindings>(*m_window, m_services.masterVolume);
  m_savedLyrics = std::make_unique<SavedLyricsBindings>(
      *m_window,
      SavedLyricsBindings::Models{m_lyricsList, m_headerFields, m_playback->songRow(), m_statusBar,
                                  prompter, dialogs, m_services.clipboard},
      programFolder);
  registerCommands();
  connect(m_window.get(), &MainWindow::surfaceMouseMoved, this, &EditorApp::onMainWindowMouseMove);
  m_window->addClosingStep([this] { onMainWindowDestroying(); });
}

EditorApp::~EditorApp() {
  // The bindings and the model filter and observe the window's controls, and the controls go
  // one by one while the window is destroyed: they must be gone before the first control is.
  // The window in turn goes before the models and adapters it shows.
  m_commandActions.reset();
  m_savedLyrics.reset();
  m_volume.reset();
  m_panels.reset();
  m_testPlay.reset();
  m_lyricsBindings.reset();
  m_playback.reset();
  m_lyricsModel.reset();
  m_window.reset();
}

void EditorApp::start() {
  m_services.association.registerAssociation(m_services.refreshDesktopCaches);
  loadCommandLineFile();
  m_window->setWindowOpacity(245.0 / 255);
  m_window->resize(MainWindow::kDesignWidth, m_window->height());
  m_window->centreOnScreen();
  m_lyricsList.setSelection(0);
  // The two halves of the test-play curtain wait left and right of the visible area.
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览左"))->move(-265, 466);
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览右"))->move(530, 466);
  m_currentTimeTag.set("[00:00.00]");
  m_savedLyrics->showClosedPicture();
  // Both drop targets were connected with the window; the song drop is served by its owner.
  m_doubleClickMode.set(true, false);
  m_savedLyrics->loadSavedLyrics();
  applySkin(kStartupSkin);
  m_volume->initVolume();
  m_window->show();
}

void EditorApp::loadCommandLineFile() {
  std::vector<std::string> arguments;
  arguments.reserve(m_arguments.size());
  for (const std::string& argument : m_arguments) arguments.push_back(platform::gbkPath(argument));
  m_importer->loadCommandLineFile(arguments);
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

void EditorApp::onMainWindowDestroying() {
  // The saved-lyrics library is written back here; closing never waits for a question. The
  // library was also written after each change, so this only repeats what is on disk.
  if (m_savedLyrics) m_savedLyrics->storeSavedLyrics();
}

void EditorApp::bindStatusBar() {
  const auto show = [this](int part) {
    m_window->statusLabel(part)->setText(toQString(m_statusBar.text(part)));
  };
  for (int part = 0; part < lyrics::StatusBar::kPartCount; ++part) show(part);
  m_statusBar.addListener(show);
}

void EditorApp::bindHeaderFields() {
  for (int index = 0; index < lyrics::HeaderFields::kFieldCount; ++index) {
    const auto field = static_cast<lyrics::HeaderFields::Field>(index);
    QLineEdit* edit = m_window->headerEdit(index);
    edit->setText(toQString(m_headerFields.text(field)));
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
      if (!m_updatingHeaders) m_headerFields.setText(field, toGbk(text));
    });
  }
  m_headerFields.addListener([this](lyrics::HeaderFields::Field field) {
    QLineEdit* edit = m_window->headerEdit(field);
    const QString text = toQString(m_headerFields.text(field));
    if (edit->text() == text) return;
    // Bytes that do not decode cleanly must not come back as replacement characters.
    m_updatingHeaders = true;
    edit->setText(text);
    m_updatingHeaders = false;
  });
}

void EditorApp::registerCommands() {
  m_playback->registerCommands(m_commands);
  m_lyricsBindings->registerCommands(m_commands);
  m_testPlay->registerCommands(m_commands);
  m_panels->registerCommands(m_commands);
  m_savedLyrics->registerCommands(m_commands);
  m_commands.add("OpenLyricsFile", [this] { m_importer->openLyricsFile(); });
  m_commands.add("ExitProgram", [this] { exitProgram(); });
  m_commands.add("OpenFeedbackWindow", [this] {
    feedback::FeedbackWindow::open(m_window.get(), m_services.prompter, m_services.mailSender());
  });
  registerCommandsNotBuilt(m_commands);
  m_commandActions = std::make_unique<CommandActions>(*m_window, m_commands);
  connect(m_window.get(), &MainWindow::lyricsDropped, this,
          [this](const std::string& text) { m_importer->dropLyricsFile(text); });
}

}  // namespace app
