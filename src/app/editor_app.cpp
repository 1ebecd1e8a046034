#include "app/editor_app.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "app/gbk.h"
#include "app/lyrics_bindings.h"
#include "app/lyrics_list_model.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/playback_bindings.h"
#include "app/program_directory.h"
#include "app/qt_clipboard.h"
#include "app/qt_dialogs.h"
#include "app/qt_prompter.h"
#include "app/skin.h"
#include "app/volume_bindings.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/pulse/pulse_master_volume.h"

namespace app {

EditorApp::EditorApp(QStringList arguments, LrcAssociation association, Services services)
    : m_arguments(std::move(arguments)),
      m_association(std::move(association)),
      m_refreshDesktopCaches(services.refreshDesktopCaches),
      m_window(std::make_unique<MainWindow>()) {
  if (services.prompter) {
    m_prompter = services.prompter;
  } else {
    m_ownPrompter = std::make_unique<QtPrompter>(m_window.get());
    m_prompter = m_ownPrompter.get();
  }
  if (services.dialogs) {
    m_dialogs = services.dialogs;
  } else {
    m_ownDialogs = std::make_unique<QtDialogs>(m_window.get());
    m_dialogs = m_ownDialogs.get();
  }
  m_importer =
      std::make_unique<lyrics::LyricsImporter>(m_lyricsList, m_statusBar, *m_prompter, *m_dialogs);
  m_lyricsModel = new LyricsListModel(m_lyricsList, m_window.get());
  m_lyricsModel->attachView(m_window->lyricsView());

  bindStatusBar();
  bindHeaderFields();
  bindDoubleClickMode();
  bindCommands();
  if (!services.player) m_ownPlayer = std::make_unique<playback::MpvAudioPlayer>();
  if (!services.clipboard) m_ownClipboard = std::make_unique<QtClipboard>();
  m_playback =
      new PlaybackBindings(*m_window, m_statusBar, m_headerFields, m_currentTimeTag, *m_prompter,
                           *m_dialogs, services.clipboard ? *services.clipboard : *m_ownClipboard,
                           services.player ? *services.player : *m_ownPlayer);
  // Owned by the window, which goes before the models it works on.
  new LyricsBindings(
      *m_window,
      {m_lyricsList, m_currentTimeTag, m_doubleClickMode, m_headerFields, m_statusBar, *m_prompter},
      toGbk(programDirectory()), [this] { m_playback->songRow().clear(); },
      [this] { m_playback->clock().refresh(); });
  if (!services.masterVolume) m_ownMasterVolume = std::make_unique<playback::PulseMasterVolume>();
  m_volume = new VolumeBindings(
      *m_window, services.masterVolume ? *services.masterVolume : *m_ownMasterVolume);
  connect(m_window.get(), &MainWindow::surfaceMouseMoved, this, &EditorApp::onMainWindowMouseMove);
  m_window->addClosingStep([this] { onMainWindowDestroying(); });
}

EditorApp::EditorApp(QStringList arguments, LrcAssociation association)
    : EditorApp(std::move(arguments), std::move(association), Services{}) {}

EditorApp::~EditorApp() {
  // The model observes the list; it goes with the window, before the list.
  m_window.reset();
}

void EditorApp::start() {
  m_association.registerAssociation(m_refreshDesktopCaches);
  loadCommandLineFile();
  m_window->setWindowOpacity(245.0 / 255);
  m_window->resize(MainWindow::kDesignWidth, m_window->height());
  m_window->centreOnScreen();
  m_lyricsList.setSelection(0);
  // The two halves of the test-play curtain wait left and right of the visible area.
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览左"))->move(-265, 466);
  m_window->control<QLabel>(QStringLiteral("标签_歌词预览右"))->move(530, 466);
  m_currentTimeTag.set("[00:00.00]");
  // Both drop targets were connected with the window; the song drop is served by its owner.
  m_doubleClickMode.set(true, false);
  applySkin(kStartupSkin);
  m_volume->initVolume();
  m_window->show();
}

void EditorApp::loadCommandLineFile() {
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<std::size_t>(m_arguments.size()));
  for (const QString& argument : m_arguments) arguments.push_back(toGbk(argument));
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
  // The saved-lyrics library is written back here; closing never waits for a question.
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

void EditorApp::bindDoubleClickMode() {
  QAction* adds = m_window->menus().action(QStringLiteral("ToggleDoubleClickAdd"));
  QAction* deletes = m_window->menus().action(QStringLiteral("ToggleDoubleClickDelete"));
  const auto showMode = [this, adds, deletes] {
    adds->setChecked(m_doubleClickMode.addsTag());
    deletes->setChecked(m_doubleClickMode.deletesTag());
  };
  showMode();
  m_doubleClickMode.addListener(showMode);
  // Qt flips a checkable item by itself when it is chosen; the marks show the mode, nothing else.
  connect(adds, &QAction::triggered, this, showMode);
  connect(deletes, &QAction::triggered, this, showMode);
}

void EditorApp::bindCommands() {
  MainMenus& menus = m_window->menus();
  const auto openLyrics = [this] { m_importer->openLyricsFile(); };
  connect(menus.action(QStringLiteral("OpenLyricsFile")), &QAction::triggered, this, openLyrics);
  connect(menus.popupAction(QStringLiteral("OpenLyricsFile")), &QAction::triggered, this,
          openLyrics);
  connect(menus.action(QStringLiteral("ExitProgram")), &QAction::triggered, this,
          &EditorApp::exitProgram);
  connect(m_window.get(), &MainWindow::lyricsDropped, this,
          [this](const QString& text) { m_importer->dropLyricsFile(toGbk(text)); });
}

}  // namespace app
