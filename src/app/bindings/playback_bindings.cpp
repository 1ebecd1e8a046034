#include "app/bindings/playback_bindings.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSlider>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/adapters/qt_paths.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"

namespace app {

PlaybackBindings::PlaybackBindings(MainWindow& window, EditorState& state,
                                   shell::CommandRegistry& registry)
    : m_window(window), m_state(state), m_jumps(state.lyrics, state.playback) {
  connect(window.timers().millisecond, &QtIntervalTimer::ticked, this,
          [this] { m_state.clock.tick(); });
  registerCommands(registry);
  bindDisplay();
  bindSongList();
  connect(&window, &MainWindow::audioDropped, this,
          [this](const std::string& text) { m_state.playback.dropAudioFile(text); });
}

PlaybackBindings::~PlaybackBindings() = default;

void PlaybackBindings::registerCommands(shell::CommandRegistry& registry) {
  registry.add("OpenAudioFile", [this] { m_state.playback.openAudioFile(); });
  registry.add("PlaySong", [this] { m_state.playback.playSong(); });
  registry.add("TogglePause", [this] { m_state.playback.togglePause(); });
  registry.add("StopPlayback", [this] { m_state.playback.stopPlayback(); });
  // The pop-up's 播放 never opens the file dialog: it is only reached with a song row present.
  registry.add("PlaySongFromPopup", [this] { m_state.playback.playSongFromPopup(); });
  registry.add("CopySongPath", [this] { m_state.playback.copySongPath(); });
  registry.add("OpenSongFolder", [this] { openSongFolder(); });
  registry.add("PlayFromSelectedLine", [this] { m_jumps.playFromSelectedLine(); });
  registry.add("SeekBackward", [this] { m_jumps.seekBackward(); });
  registry.add("SeekForward", [this] { m_jumps.seekForward(); });
  for (const auto& [name, speed] :
       {std::pair{"PlayAtNormalSpeed", 1.0}, std::pair{"PlayAtThreeQuarterSpeed", 0.75},
        std::pair{"PlayAtHalfSpeed", 0.5}}) {
    registry.addCheckable(
        name,
        [this, &registry, speed = speed] {
          m_state.playback.setSpeed(speed);
          showSpeed();
          // The three marks are one choice.
          registry.checkedStateChanged();
        },
        [this, speed = speed] { return m_state.playback.speed() == speed; });
  }
}

void PlaybackBindings::showSpeed() {
  QLabel* label = m_window.speedLabel();
  const double speed = m_state.playback.speed();
  label->setVisible(speed != 1.0);
  label->setText(QStringLiteral("播放速度 %1倍").arg(speed, 0, 'g', 3));
  label->setToolTip(QStringLiteral("歌曲以%1倍速度播放；显示的时间和加入的标签仍是歌曲的时间")
                        .arg(speed, 0, 'g', 3));
}

void PlaybackBindings::bindDisplay() {
  QAction* tagButton = m_window.tagButton();
  QAction* pauseButton = m_window.pauseButton();
  QSlider* slider = m_window.progressSlider();
  const auto show = [=, this](playback::PlaybackDisplay::Item item) {
    switch (item) {
      case playback::PlaybackDisplay::TagCaption:
        tagButton->setText(toQString(m_state.playbackDisplay.tagCaption()));
        break;
      case playback::PlaybackDisplay::PauseCaption:
        pauseButton->setText(toQString(m_state.playbackDisplay.pauseCaption()));
        break;
      case playback::PlaybackDisplay::Progress:
        slider->setValue(m_state.playbackDisplay.progress());
        break;
    }
  };
  show(playback::PlaybackDisplay::TagCaption);
  show(playback::PlaybackDisplay::PauseCaption);
  show(playback::PlaybackDisplay::Progress);
  m_state.playbackDisplay.addListener(show);
}

void PlaybackBindings::bindSongList() {
  QTreeWidget* list = m_window.songList();
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_state.song.addListener([this] { showSongRow(); });
  connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
    if (!m_updatingSelection) m_state.song.setSelection(list->selectedItems().isEmpty() ? -1 : 0);
  });
  // On this platform the context-menu request follows the right-button press, after the view
  // has selected the row under the pointer.
  connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
    if (m_state.song.selection() < 0) return;
    MainMenus::showPopupAt(m_window.menus().songPopup(), list->viewport()->mapToGlobal(pos));
  });
}

void PlaybackBindings::showSongRow() {
  QTreeWidget* list = m_window.songList();
  const QScopedValueRollback updating(m_updatingSelection, true);
  if (!m_state.song.hasRow()) {
    list->clear();
  } else {
    QTreeWidgetItem* item = list->topLevelItem(0);
    if (item == nullptr) item = new QTreeWidgetItem(list);
    for (int column = 0; column < playback::SongRow::kColumnCount; ++column) {
      item->setText(column, toQString(m_state.song.cell(0, column)));
    }
    item->setSelected(m_state.song.selection() == 0);
  }
}

void PlaybackBindings::openSongFolder() {
  const std::string folder = m_state.playback.songFolder();
  if (folder.empty()) return;
  QDesktopServices::openUrl(localFileUrl(folder));
}

}  // namespace app
