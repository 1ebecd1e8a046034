#include "app/bindings/waveform_bindings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/bindings/undo_bindings.h"
#include "app/window/main_window.h"
#include "waveform/ffmpeg/ffmpeg_decoder.h"

namespace app {

namespace {

// The main window's items whose keys also work in the waveform window: the stamp and every
// item of 校对(J).
QList<QAction*> editingKeys(MainWindow& window) {
  QList<QAction*> actions;
  for (QAction* action : window.menuBar()->actions()) {
    if (action->menu() && action->text() == QStringLiteral("校对(J)")) {
      actions += action->menu()->actions();
    }
  }
  if (auto* stamp = window.menuBar()->findChild<QAction*>(QStringLiteral("AddTimeTag"))) {
    actions.prepend(stamp);
  }
  actions.removeIf([](QAction* action) { return action->shortcut().isEmpty(); });
  return actions;
}

}  // namespace

WaveformBindings::WaveformBindings(MainWindow& window, EditorState& state, const Services& services,
                                   UndoBindings& undo, shell::CommandRegistry& registry)
    : m_window(window), m_state(state), m_cacheFolder(services.cacheFolder) {
  registry.add("ShowWaveformWindow", [this] { showWaveformWindow(); });
  connect(&undo, &UndoBindings::documentChanged, this, [this] {
    if (m_waveform) m_waveform->documentChanged();
  });
  // Neither model can take a listener off: each listener checks that this still lives.
  state.song.addListener([self = QPointer<WaveformBindings>(this)] {
    if (self && self->m_waveform) {
      self->m_waveform->showSong(self->m_state.song.cell(playback::SongRow::Path));
    }
  });
  state.playbackDisplay.addListener(
      [self = QPointer<WaveformBindings>(this)](playback::PlaybackDisplay::Item item) {
        // The tag caption changes at every tick; the cursor has its own frame timer then.
        if (item == playback::PlaybackDisplay::TagCaption && self &&
            self->m_state.playback.state() == playback::PlaybackState::Playing) {
          return;
        }
        if (self && self->m_waveform) self->m_waveform->playbackChanged();
      });
}

// The window reads the state, which goes before the main window that parents it.
WaveformBindings::~WaveformBindings() { delete m_waveform.data(); }

void WaveformBindings::showWaveformWindow() {
  if (!m_waveform) {
    m_waveform =
        new waveform::WaveformWindow({.lyrics = m_state.lyrics,
                                      .clock = m_state.clock,
                                      .playback = m_state.playback,
                                      .cacheFolder = m_cacheFolder,
                                      .decoder = std::make_shared<waveform::FfmpegDecoder>()},
                                     &m_window);
    m_waveform->addActions(editingKeys(m_window));
    m_waveform->showSong(m_state.song.cell(playback::SongRow::Path));
  }
  m_waveform->show();
  m_waveform->raise();
  m_waveform->activateWindow();
}

}  // namespace app
