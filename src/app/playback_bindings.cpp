#include "app/playback_bindings.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QSlider>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "app/gbk.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/qt_interval_timer.h"
#include "app/qt_paths.h"

namespace app {

namespace {
const QString kPlaybackToolBar = QStringLiteral("工具条_控制播放");
}  // namespace

PlaybackBindings::PlaybackBindings(MainWindow& window, shell::CommandRegistry& registry,
                                   lyrics::StatusBar& status, lyrics::HeaderFields& header,
                                   lyrics::CurrentTimeTag& currentTag, platform::Prompter& prompter,
                                   platform::Dialogs& dialogs, platform::Clipboard& clipboard,
                                   playback::AudioPlayer& player)
    : m_window(window),
      m_player(player),
      m_clock(*window.timer(QStringLiteral("时钟_毫秒")), currentTag, m_display, status, player,
              m_steadyClock),
      m_controller(m_songRow, header, status, m_display, m_clock, player, prompter, dialogs,
                   clipboard) {
  connect(window.timer(QStringLiteral("时钟_毫秒")), &QtIntervalTimer::ticked, this,
          [this] { m_clock.tick(); });
  registerCommands(registry);
  bindDisplay();
  bindSongList();
  connect(&window, &MainWindow::audioDropped, this,
          [this](const std::string& text) { m_controller.dropAudioFile(text); });
}

PlaybackBindings::~PlaybackBindings() = default;

QAction* PlaybackBindings::playbackButton(int index) const {
  return m_window.playbackToolBar()->findChild<QAction*>(kPlaybackToolBar + QLatin1Char('_') +
                                                         QString::number(index));
}

void PlaybackBindings::registerCommands(shell::CommandRegistry& registry) {
  registry.add("OpenAudioFile", [this] { m_controller.openAudioFile(); });
  registry.add("PlaySong", [this] { m_controller.playSong(); });
  registry.add("TogglePause", [this] { m_controller.togglePause(); });
  registry.add("StopPlayback", [this] { m_controller.stopPlayback(); });
  // The pop-up's 播放 never opens the file dialog: it is only reached with a song row present.
  registry.add("PlaySongFromPopup", [this] { m_controller.playSongFromPopup(); });
  registry.add("CopySongPath", [this] { m_controller.copySongPath(); });
  registry.add("OpenSongFolder", [this] { openSongFolder(); });
}

void PlaybackBindings::bindDisplay() {
  QAction* tagButton =
      m_window.tagToolBar()->findChild<QAction*>(QStringLiteral("工具条_标签加入_1"));
  QAction* pauseButton = playbackButton(6);
  QSlider* slider = m_window.progressSlider();
  const auto show = [=, this](playback::PlaybackDisplay::Item item) {
    switch (item) {
      case playback::PlaybackDisplay::TagCaption:
        tagButton->setText(toQString(m_display.tagCaption()));
        break;
      case playback::PlaybackDisplay::PauseCaption:
        pauseButton->setText(toQString(m_display.pauseCaption()));
        break;
      case playback::PlaybackDisplay::Progress:
        slider->setValue(m_display.progress());
        break;
    }
  };
  show(playback::PlaybackDisplay::TagCaption);
  show(playback::PlaybackDisplay::PauseCaption);
  show(playback::PlaybackDisplay::Progress);
  m_display.addListener(show);
}

void PlaybackBindings::bindSongList() {
  QTreeWidget* list = m_window.songList();
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_songRow.addListener([this] { showSongRow(); });
  connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
    if (!m_updatingSelection) m_songRow.setSelection(list->selectedItems().isEmpty() ? -1 : 0);
  });
  // On this platform the context-menu request follows the right-button press, after the view
  // has selected the row under the pointer.
  connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
    if (m_songRow.selection() < 0) return;
    MainMenus::showPopupAt(m_window.menus().popup(QStringLiteral("超级编辑框菜单")),
                           list->viewport()->mapToGlobal(pos));
  });
}

void PlaybackBindings::showSongRow() {
  QTreeWidget* list = m_window.songList();
  m_updatingSelection = true;
  if (!m_songRow.hasRow()) {
    list->clear();
  } else {
    QTreeWidgetItem* item = list->topLevelItem(0);
    if (item == nullptr) item = new QTreeWidgetItem(list);
    for (int column = 0; column < playback::SongRow::kColumnCount; ++column) {
      item->setText(column, toQString(m_songRow.cell(0, column)));
    }
    item->setSelected(m_songRow.selection() == 0);
  }
  m_updatingSelection = false;
}

void PlaybackBindings::openSongFolder() {
  const std::string folder = m_controller.songFolder();
  if (folder.empty()) return;
  QDesktopServices::openUrl(localFileUrl(folder));
}

}  // namespace app
