#include "app/window/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>

#include "app/adapters/file_drop.h"
#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/window/command_item.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_menus.h"
#include "app/window/ticked_slider.h"
#include "lyrics/signature.h"
#include "lyrics/status_bar.h"
#include "lyrics/status_texts.h"

namespace app {

namespace {

// Names every control after its design name and puts it at its design rectangle.
template <typename T>
T* place(T* widget, const char* name, int x, int y, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(x, y, width, height);
  return widget;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int width, int height,
              const char* text = "") {
  return place(new QLabel(QString::fromUtf8(text), parent), name, x, y, width, height);
}

QSlider* percentSlider(QWidget* parent, const char* name, int x, int y, int width, int height) {
  auto* slider = place(new TickedSlider(parent), name, x, y, width, height);
  slider->setRange(0, 100);
  slider->setPageStep(5);
  return slider;
}

struct ToolButton {
  const char* caption;  // nullptr for a separator
  const char* tooltip;
  const char* command;  // the command the button raises
};

QToolBar* toolBar(QWidget* parent, const char* name, std::initializer_list<ToolButton> buttons) {
  auto* bar = new QToolBar(parent);
  bar->setObjectName(QString::fromUtf8(name));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  int index = 0;
  for (const ToolButton& button : buttons) {
    QAction* action =
        button.caption ? bar->addAction(QString::fromUtf8(button.caption)) : bar->addSeparator();
    if (button.tooltip) action->setToolTip(QString::fromUtf8(button.tooltip));
    if (button.command) nameCommand(action, QString::fromUtf8(button.command));
    action->setObjectName(QString::fromUtf8(name) + QLatin1Char('_') + QString::number(index++));
  }
  return bar;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("青禾歌词编辑器"));
  // Plain absolute geometry instead of layouts, so that every control sits exactly where the
  // design puts it and the panels can wait outside the visible area.
  m_client = new QWidget(this);
  m_client->setObjectName(QStringLiteral("MainWindowClient"));
  m_client->setMouseTracking(true);
  watch(m_client);
  setCentralWidget(m_client);
  setAcceptDrops(true);

  m_menus = new MainMenus(this);
  buildTopArea();
  buildEditArea();
  buildStatusBar();
  buildParkedPanels();
  buildTimers();
  resize(kDesignWidth, kDesignHeight);
}

MainWindow::~MainWindow() {
  // The controls are destroyed after this, while the window is only a QWidget any more; none of
  // them may report to the window's filter on the way.
  for (const QPointer<QObject>& control : m_watched) {
    if (control) control->removeEventFilter(this);
  }
  m_watched.clear();
}

void MainWindow::watch(QObject* control) {
  control->installEventFilter(this);
  m_watched.push_back(control);
}

void MainWindow::buildTopArea() {
  // Both toolbars are docked at the top of the client area, the tag toolbar in the first row
  // and the playback toolbar in the second, where the design's rectangles put them.
  m_tagToolBar = toolBar(m_client, "工具条_标签加入",
                         {{nullptr, nullptr, nullptr},
                          {"加入标签[00:00.00]", "加入时间标签", "AddTimeTag"},
                          {nullptr, nullptr, nullptr},
                          {"删除本行首时间标签", "删除行内首标签", "DeleteLineTag"},
                          {nullptr, nullptr, nullptr}});
  m_tagToolBar->setGeometry(-8, 0, 499, 28);
  m_tagButton = m_tagToolBar->actions().at(1);
  // Beyond the design: in the free end of the tag toolbar's row, where the eye is while
  // stamping; the playback bindings show it only at a speed other than 1.0.
  m_speedLabel = label(m_client, "标签_播放速度", 300, 4, 180, 20);
  m_speedLabel->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; font-weight: bold; }"));
  m_speedLabel->hide();
  m_playbackToolBar = toolBar(m_client, "工具条_控制播放",
                              {{nullptr, nullptr, nullptr},
                               {"打开", "打开音频文件", "OpenAudioFile"},
                               {"保存", "保存编辑歌词", "SaveLyrics"},
                               {"另存", "歌词另存为...", "SaveLyricsAs"},
                               {nullptr, nullptr, nullptr},
                               {"播放", "播放", "PlaySong"},
                               {"暂停", "暂停", "TogglePause"},
                               {"停止", "停止", "StopPlayback"},
                               {nullptr, nullptr, nullptr},
                               {"测试", "测试编辑歌词", "StartTestPlay"},
                               {nullptr, nullptr, nullptr}});
  m_playbackToolBar->setGeometry(0, 28, 536, 28);
  m_pauseButton = m_playbackToolBar->actions().at(6);

  m_progressSlider = percentSlider(m_client, "滑块条_播放进度", 0, 56, 524, 34);
  m_progressSlider->setTickInterval(100);
  m_progressSlider->setTickPosition(QSlider::TicksBelow);

  m_songList = place(new QTreeWidget(m_client), "超级列表框_歌曲信息", 0, 91, 524, 38);
  m_songList->setRootIsDecorated(false);
  m_songList->setColumnCount(5);
  m_songList->setHeaderLabels({QStringLiteral("歌曲名称"), QStringLiteral("歌手姓名"),
                               QStringLiteral("音频格式"), QStringLiteral("文件检测"),
                               QStringLiteral("文件路径")});
  const int columnWidths[] = {90, 90, 80, 80, 150};
  for (int column = 0; column < 5; ++column) {
    m_songList->setColumnWidth(column, columnWidths[column]);
  }
  m_songList->header()->setStretchLastSection(false);
  // The strip is designed to show its header and exactly one row: keep both compact and give
  // the row the room a scroll bar would take.
  m_songList->setUniformRowHeights(true);
  m_songList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_songList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_songList->header()->setFixedHeight(17);
  m_songList->setStyleSheet(QStringLiteral("QTreeView::item { padding: 0px; }"));
}

void MainWindow::buildEditArea() {
  m_lyricsView = place(new LyricsListView(m_client), "列表框_歌词文件编辑", 0, 132, 524, 333);
  m_lyricsView->setSelectionMode(QAbstractItemView::SingleSelection);
  m_lyricsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_lyricsView->setAcceptDrops(true);
  m_lyricsView->viewport()->setAcceptDrops(true);
  m_lyricsViewport = m_lyricsView->viewport();
  watch(m_lyricsViewport);
  // Drops on the list's scroll bars and frame arrive at the view itself; they are lyrics too.
  watch(m_lyricsView);

  struct Header {
    const char* labelName;
    const char* caption;
    int labelX, labelY, labelWidth;
    const char* editName;
    int editX, editWidth;
  };
  // In lyrics::HeaderFields order: singer, song, album, editor.
  const Header headers[] = {
      {"透明标签_歌手", "歌手：", 20, 469, 40, "编辑框_歌手", 59, 161},
      {"透明标签_歌曲", "歌曲：", 230, 469, 40, "编辑框_歌曲", 269, 209},
      {"透明标签_专辑", "专辑：", 20, 502, 40, "编辑框_专辑", 59, 161},
      {"透明标签_编辑人", "编辑人：", 230, 502, 49, "编辑框_编辑人", 286, 192},
  };
  for (const Header& header : headers) {
    QLabel* caption = label(m_client, header.labelName, header.labelX, header.labelY,
                            header.labelWidth, 22, header.caption);
    caption->setAttribute(Qt::WA_TranslucentBackground);
    m_headerEdits.push_back(place(new QLineEdit(m_client), header.editName, header.editX,
                                  header.labelY, header.editWidth, 22));
    // Text boxes take dropped files as text; a dropped song belongs to the window's song drop.
    watch(m_headerEdits.back());
  }

  m_savedPanelPicture = label(m_client, "图片框_开", 490, 524, 27, 27);
  m_speakerPicture = label(m_client, "图片框_声音控制", 7, 531, 24, 24);

  m_volumePanel = place(new QGroupBox(QStringLiteral("声音控制"), m_client), "分组框_声音控制", 35,
                        525, 453, 39);
  label(m_volumePanel, "标签_右声道1", 16, 14, 36, 16, "音量：");
  m_volumeSlider = percentSlider(m_volumePanel, "滑块条_右声道1", 55, 15, 359, 16);
  // A tick mark at every step.
  m_volumeSlider->setTickInterval(1);
  m_volumeSlider->setTickPosition(QSlider::TicksBelow);
  m_volumeLabel = label(m_volumePanel, "标签_右1", 419, 15, 28, 16);
  // The panel covers the status bar; it appears only while the pointer is over its icon.
  m_volumePanel->hide();

  m_supportBox =
      place(new QGroupBox(QStringLiteral("支持青禾"), m_client), "分组框1", 0, 564, 525, 53);
  // These two boxes let the pointer through to the window, whose mouse-move rule hides the
  // volume panel; without tracking a box would swallow every move made with no button held.
  for (QGroupBox* box : {m_volumePanel, m_supportBox}) {
    box->setMouseTracking(true);
    box->installEventFilter(this);
  }
  m_contactLink = label(m_supportBox, "超级链接框1", 176, 7, 160, 22, "@作者青禾");
  m_homeLink = label(m_supportBox, "超级链接框2", 176, 27, 160, 19);
}

void MainWindow::buildStatusBar() {
  m_statusBar = place(new QStatusBar(m_client), "状态条_编辑状态", 0, 523, 499, 20);
  m_statusBar->setSizeGripEnabled(false);
  // The parts are placed by hand: their widths add up to more than the bar, so the bar's own
  // layout would squeeze them over each other; this way the last part is cut off at the edge.
  int left = 0;
  for (int part = 0; part < lyrics::StatusBar::kPartCount; ++part) {
    auto* partLabel = new QLabel(toQString(lyrics::status_texts::startText(part)), m_statusBar);
    partLabel->setObjectName(QStringLiteral("状态条_编辑状态_%1").arg(part));
    partLabel->setGeometry(left, 0, kStatusWidths[part], 20);
    partLabel->setFrameShape(QFrame::StyledPanel);
    partLabel->setFrameShadow(QFrame::Sunken);
    left += kStatusWidths[part];
    m_statusLabels.push_back(partLabel);
  }
}

void MainWindow::buildParkedPanels() {
  m_savedPanel = place(new QGroupBox(QStringLiteral("保存文件    "), m_client), "分组框_保存文件",
                       530, 57, 523, 471);
  m_savedLyricsList = place(new QTreeView(m_savedPanel), "超级列表框1", 2, 16, 518, 455);
  // A report-style list: one row per record, whole rows selected, nothing edited in place.
  m_savedLyricsList->setRootIsDecorated(false);
  m_savedLyricsList->setUniformRowHeights(true);
  m_savedLyricsList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_savedLyricsList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_savedLyricsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_savedLyricsList->header()->setStretchLastSection(false);

  m_previewBox = place(new QPlainTextEdit(m_client), "编辑框_歌词预览", 532, 88, 523, 373);
  m_previewBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  m_testPlayDisplay =
      place(new QLineEdit(QStringLiteral("青禾歌词编辑器 — 写歌词就这么简单"), m_client),
            "编辑框_青禾歌词编辑器", 1078, 76, 480, 40);
  m_closePicture = label(m_client, "图片框_关闭", 1562, 80, 32, 32);
  m_curtainLeft = label(m_client, "标签_歌词预览左", 1064, 26, 265, 96);
  m_curtainRight = label(m_client, "标签_歌词预览右", 1329, 26, 265, 96);
  m_quickStartPanel = label(m_client, "标签_软件说明", 1056, 0, 530, 568);
  m_quickStartPanel->setWordWrap(true);
  m_aboutPanel = label(m_client, "标签_关于软件", 1590, 0, 530, 583);
  m_aboutPanel->setWordWrap(true);

  m_signaturePanel =
      place(new QGroupBox(QStringLiteral("个性签名"), m_client), "分组框_配置个性签名",
            lyrics::Signature::kParkedLeft, lyrics::Signature::kParkedTop, 248, 152);
  m_signatureBox = place(new QPlainTextEdit(m_signaturePanel), "编辑框_个性签名", 15, 23, 216, 80);
  m_signatureConfirm = place(new QPushButton(QStringLiteral("确定"), m_signaturePanel),
                             "按钮_个性签名", 191, 112, 40, 24);
  m_signatureClose = place(new QPushButton(QStringLiteral("关闭"), m_signaturePanel), "按钮_关闭",
                           144, 113, 40, 24);

  label(m_client, "标签_同步播放", 20, 720, 32, 16);
}

void MainWindow::buildTimers() {
  const auto make = [this](const char* name) {
    return new QtIntervalTimer(QString::fromUtf8(name), this);
  };
  // 时钟_秒 is designed but nothing uses it: the play clock counts seconds from one time.
  make("时钟_秒");
  m_timers = {make("时钟_毫秒"),
              make("时钟_测试播放"),
              make("时钟_歌词预览文本颜色"),
              make("时钟_歌词预览开"),
              make("时钟_歌词预览关"),
              make("时钟_保存歌词开"),
              make("时钟_保存歌词关"),
              make("时钟_控制标签左"),
              make("时钟_控制标签右"),
              make("时钟_控制歌词预览标签左关"),
              make("时钟_控制歌词预览标签右关"),
              make("时钟_启动窗口下")};
}

QtIntervalTimer* MainWindow::timer(const QString& name) const {
  return findChild<QtIntervalTimer*>(name, Qt::FindDirectChildrenOnly);
}

void MainWindow::centreOnScreen() {
  const QScreen* current = screen();
  if (!current) return;
  const QRect area = current->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing is never refused; the steps run once even if a second close arrives.
  if (!m_closed) {
    m_closed = true;
    for (const auto& step : m_closingSteps) step();
  }
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::string text = droppedPathText(event->mimeData());
  if (text.empty()) return;
  event->acceptProposedAction();
  emit audioDropped(text);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_lyricsViewport || watched == m_lyricsView) {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string text = droppedPathText(drop->mimeData());
        if (!text.empty()) {
          drop->acceptProposedAction();
          emit lyricsDropped(text);
        }
        return true;
      }
      default:
        return false;
    }
  }
  if (std::find(m_headerEdits.begin(), m_headerEdits.end(), watched) != m_headerEdits.end()) {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedPathText(drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string text = droppedPathText(drop->mimeData());
        if (text.empty()) return false;
        drop->acceptProposedAction();
        emit audioDropped(text);
        return true;
      }
      default:
        return false;
    }
  }
  if (event->type() == QEvent::MouseMove && (watched == m_volumePanel || watched == m_supportBox)) {
    // Group-box frames are see-through for the pointer, as on the platform the layout comes
    // from: a move over the box itself is a move over the window's surface. Taken here, it
    // does not also travel on to the client area.
    const QPoint inBox = static_cast<QMouseEvent*>(event)->position().toPoint();
    emit surfaceMouseMoved(static_cast<QWidget*>(watched)->mapTo(m_client, inBox));
    return true;
  }
  if (watched == m_client && event->type() == QEvent::MouseMove) {
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    // Any control under the pointer keeps the move to itself, even one that passed it on.
    if (!m_client->childAt(pos)) emit surfaceMouseMoved(pos);
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace app
