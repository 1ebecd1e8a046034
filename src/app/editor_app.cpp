#include "app/editor_app.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/document_bindings.h"
#include "app/bindings/feedback_bindings.h"
#include "app/bindings/font_bindings.h"
#include "app/bindings/key_lag_bindings.h"
#include "app/bindings/lyrics_bindings.h"
#include "app/bindings/panel_bindings.h"
#include "app/bindings/playback_bindings.h"
#include "app/bindings/recovery_bindings.h"
#include "app/bindings/saved_lyrics_bindings.h"
#include "app/bindings/status_bar_bindings.h"
#include "app/bindings/test_play_bindings.h"
#include "app/bindings/undo_bindings.h"
#include "app/bindings/volume_bindings.h"
#include "app/bindings/waveform_bindings.h"
#include "app/window/command_actions.h"
#include "app/window/main_window.h"
#include "app/window/skin.h"
#include "shell/curtain.h"

namespace app {

namespace {

// Runs `work` once from the event loop right after `window` is first painted, or after
// `latestMs` if no paint comes (a display that never shows the window).
class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget& window, int latestMs, std::function<void()> work)
      : QObject(&window), m_work(std::move(work)) {
    window.installEventFilter(this);
    QTimer::singleShot(latestMs, this, [this] { run(); });
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { run(); });
    return false;
  }

 private:
  void run() {
    if (!m_work) return;
    std::exchange(m_work, nullptr)();
    deleteLater();
  }

  std::function<void()> m_work;
};

}  // namespace

EditorApp::EditorApp(std::vector<std::string> arguments, Services services)
    : m_arguments(std::move(arguments)),
      m_services(std::move(services)),
      m_window(std::make_unique<MainWindow>()),
      m_state(*m_window->timers().millisecond, m_services) {
  MainWindow& window = *m_window;
  Services& system = m_services;
  m_document = std::make_unique<DocumentBindings>(window, m_state, system, m_commands);
  m_statusBar = std::make_unique<StatusBarBindings>(window, m_state);
  m_playback = std::make_unique<PlaybackBindings>(window, m_state, m_commands);
  m_lyricsBindings = std::make_unique<LyricsBindings>(window, m_state, system, m_commands);
  m_testPlay = std::make_unique<TestPlayBindings>(window, m_state, system, m_commands);
  m_panels = std::make_unique<PanelBindings>(window, m_commands);
  m_volume = std::make_unique<VolumeBindings>(window, system);
  m_savedLyrics = std::make_unique<SavedLyricsBindings>(window, m_state, system, m_commands);
  m_font = std::make_unique<FontBindings>(window, system, m_commands);
  m_undo = std::make_unique<UndoBindings>(window, m_state, m_commands);
  m_recovery = std::make_unique<RecoveryBindings>(window, m_state, *m_undo, m_commands);
  m_waveform = std::make_unique<WaveformBindings>(window, m_state, system, *m_undo, m_commands);
  m_keyLag = std::make_unique<KeyLagBindings>(window, m_state, system, m_commands);
  registerFeedbackCommands(window, system, m_commands);
  m_commands.add("ExitProgram", [this] { exitProgram(); });
  // Last: every item of the menus and toolbars must find its command registered.
  m_commandActions = std::make_unique<CommandActions>(window, m_commands);

  // Text typed into the open preview box is kept in the recovery file before it is taken back.
  m_state.recovery.setTypedText([this] { return m_lyricsBindings->previewTypedText(); });
  connect(m_lyricsBindings.get(), &LyricsBindings::previewTextChanged, m_recovery.get(),
          &RecoveryBindings::noteChange);
  // What was typed into the open preview box joins the lines before they are written.
  window.addClosingStep([this] { m_lyricsBindings->keepPreviewEditsAtClose(); });
  // The saved-lyrics library is written back when the window closes; closing never waits for a
  // question. It was also written after each change, so this only repeats what is on disk.
  window.addClosingStep([this] { m_savedLyrics->storeSavedLyrics(); });
  // Closing is never refused: the recovery file only gets the last changes first.
  window.addClosingStep([this] { m_recovery->writeAtClose(); });
  // A window closed before its first picture still leaves the association written.
  window.addClosingStep([this] { registerAssociationOnce(); });
}

EditorApp::~EditorApp() {
  // The recovery outlives the bindings it asks for the preview box's text.
  m_state.recovery.setTypedText({});
}

LyricsListModel& EditorApp::lyricsModel() const { return m_document->listModel(); }

BackgroundLyricsReader& EditorApp::lyricsReader() const { return m_document->reader(); }

void EditorApp::start() {
  m_document->loadCommandLineFile(m_arguments);
  m_window->setWindowOpacity(245.0 / 255);
  m_window->resize(MainWindow::kDesignWidth, m_window->height());
  m_window->centreOnScreen();
  m_state.lyrics.setSelection(0);
  m_testPlay->parkCurtain();
  m_state.currentTag.set(lyrics::kZeroTimeTag);
  m_savedLyrics->showClosedPicture();
  // Both drop targets were connected with the window; the song drop is served by its owner.
  m_state.doubleClickMode.set(true, false);
  m_savedLyrics->loadSavedLyrics();
  applySkin(kStartupSkin);
  m_volume->initVolume();
  m_window->show();
  // Right after the first picture, the player's core is made on a thread of its own, so that a
  // Play soon after start finds it ready or nearly so. Before it, loading the sound library and
  // its codecs beside the window's start would delay the window on a machine with few cores;
  // a Play that comes even earlier makes the core at once. The .lrc association is written at
  // every start, but the first picture does not wait for it either: a first start writes
  // several files and refreshes the desktop's caches.
  new AfterFirstPaint(*m_window, 1000, [this] {
    if (m_services.preparePlayer) m_services.preparePlayer();
    registerAssociationOnce();
  });
}

void EditorApp::registerAssociationOnce() {
  if (std::exchange(m_associationRegistered, true)) return;
  m_services.association.registerAssociation(m_services.refreshDesktopCaches);
}

void EditorApp::exitProgram() { m_window->close(); }

}  // namespace app
