#include "app/bindings/saved_lyrics_bindings.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTreeView>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/binding_tables.h"
#include "app/window/balloon_tip.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "app/window/toggle_arrow_picture.h"

namespace app {

SavedLyricsBindings::SavedLyricsBindings(MainWindow& window, EditorState& state,
                                         const Services& services, shell::CommandRegistry& registry)
    : m_window(window),
      m_panelBox(window.savedPanel()),
      m_picture(window.savedPanelPicture()),
      m_list(window.savedLyricsList()),
      m_listViewport(window.savedLyricsList()->viewport()),
      m_store(state.library, services.prompter, services.programDirectory),
      m_panel(*this, *window.timers().savedPanelIn, *window.timers().savedPanelOut),
      m_save(state.lyrics, state.headers, state.song, m_store, m_clock, services.prompter,
             services.dialogs, *this),
      m_commands(m_store, m_panel, state.lyrics, state.headers, state.song, state.status,
                 services.prompter, services.dialogs, services.clipboard, m_random),
      m_model(state.library) {
  Q_ASSERT(m_panelBox && m_picture);
  m_model.attachView(m_list);
  registerCommands(registry);
  bindControls();
}

SavedLyricsBindings::~SavedLyricsBindings() {
  for (QObject* watched :
       {static_cast<QObject*>(m_picture.data()), static_cast<QObject*>(m_listViewport.data())}) {
    if (watched) watched->removeEventFilter(this);
  }
}

BalloonTip* SavedLyricsBindings::balloon() const { return m_balloon.data(); }

void SavedLyricsBindings::registerCommands(shell::CommandRegistry& registry) {
  addMemberCommands(registry, m_save,
                    {{"SaveLyrics", &files::SaveCommands::saveLyrics},
                     {"SaveLyricsAs", &files::SaveCommands::saveLyricsAs},
                     {"WriteLyricsBesideAudio", &files::SaveCommands::writeLyricsBesideAudio}});
  addMemberCommands(registry, m_commands,
                    {{"OpenSavedRecord", &files::SavedLyricsCommands::openSavedRecord},
                     {"ExportRecordToDesktop", &files::SavedLyricsCommands::exportRecordToDesktop},
                     {"CopySavedSongPath", &files::SavedLyricsCommands::copySavedSongPath},
                     {"CopySavedLyrics", &files::SavedLyricsCommands::copySavedLyrics},
                     {"DeleteSavedRecord", &files::SavedLyricsCommands::deleteSavedRecord},
                     {"ClearSavedRecords", &files::SavedLyricsCommands::clearSavedRecords}});
}

void SavedLyricsBindings::bindControls() {
  connectSlides(this, {{m_window.timers().savedPanelIn, m_panel.slideIn()},
                       {m_window.timers().savedPanelOut, m_panel.slideOut()}});

  // The picture overlaps the status bar's end and the open panel's bottom edge; on top it
  // takes every double-click on its square.
  m_picture->raise();
  m_picture->setToolTip(QStringLiteral("保存的歌词"));
  m_picture->installEventFilter(this);
  m_listViewport->installEventFilter(this);

  // On this platform the context-menu request follows the right-button press, after the view
  // has selected the row under the pointer, so the pop-up acts on the row it was called on.
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    MainMenus::showPopupAt(m_window.menus().savedLyricsPopup(),
                           m_list->viewport()->mapToGlobal(pos));
  });
}

bool SavedLyricsBindings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return false;
  if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
  if (watched == m_picture.data()) {
    m_panel.toggleSavedPanel();
    return true;
  }
  if (watched == m_listViewport.data()) {
    // The first click of the double-click has already selected the row under the pointer.
    m_commands.openSavedRecord();
  }
  return false;
}

void SavedLyricsBindings::setPanelLeft(int left) {
  if (m_panelBox) m_panelBox->move(left, m_panelBox->y());
}

void SavedLyricsBindings::showToggleImage(bool open) {
  if (!m_picture) return;
  m_picture->setPixmap(
      toggleArrowPicture(open, m_picture->width(), m_picture->devicePixelRatioF()));
}

files::WindowFrame SavedLyricsBindings::windowFrame() const {
  const QRect frame = m_window.frameGeometry();
  return {frame.x(), frame.y(), frame.width(), frame.height(), m_window.editStatusBar()->height()};
}

void SavedLyricsBindings::showBalloon(const std::string& text, int x, int y) {
  if (!m_balloon) m_balloon = new BalloonTip(&m_window);
  m_balloon->showAt(toQString(text), QPoint(x, y));
}

}  // namespace app
