#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/window/lyrics_list_view.h"

class QGroupBox;
class QLabel;
class QAction;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStatusBar;
class QToolBar;
class QTreeView;
class QTreeWidget;

namespace app {

class MainMenus;
class QtIntervalTimer;

// The editor's main window: every control at its designed place, named by its design name.
// It holds no behaviour of its own; EditorApp and the bindings reach its controls and timers
// through the typed accessors below, never by name.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Designed size of the window below its title bar, and the window's title.
  static constexpr int kDesignWidth = 530;
  static constexpr int kDesignHeight = 685;
  // Widths of the six status-bar parts, left to right.
  static constexpr int kStatusWidths[6] = {120, 95, 80, 110, 50, 70};

  // The window's timers, all stopped until a command sets an interval.
  struct Timers {
    QtIntervalTimer* millisecond;        // 时钟_毫秒: the play clock's tick
    QtIntervalTimer* testPlaySync;       // 时钟_测试播放
    QtIntervalTimer* testPlayColour;     // 时钟_歌词预览文本颜色
    QtIntervalTimer* previewIn;          // 时钟_歌词预览开
    QtIntervalTimer* previewOut;         // 时钟_歌词预览关
    QtIntervalTimer* savedPanelIn;       // 时钟_保存歌词开
    QtIntervalTimer* savedPanelOut;      // 时钟_保存歌词关
    QtIntervalTimer* curtainCloseLeft;   // 时钟_控制标签左
    QtIntervalTimer* curtainCloseRight;  // 时钟_控制标签右
    QtIntervalTimer* curtainOpenLeft;    // 时钟_控制歌词预览标签左关
    QtIntervalTimer* curtainOpenRight;   // 时钟_控制歌词预览标签右关
    QtIntervalTimer* windowDrop;         // 时钟_启动窗口下
  };

  // Builds the window with all controls, menus, pop-ups and timers.
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The area below the menu bar in which every control sits at its design position.
  QWidget* clientArea() const { return m_client; }
  // The lyrics list `列表框_歌词文件编辑` (the document's view).
  LyricsListView* lyricsView() const { return m_lyricsView; }
  // The song-information list `超级列表框_歌曲信息`.
  QTreeWidget* songList() const { return m_songList; }
  // The saved-lyrics list `超级列表框1`, a view over the library's model.
  QTreeView* savedLyricsList() const { return m_savedLyricsList; }
  // The playback toolbar `工具条_控制播放`.
  QToolBar* playbackToolBar() const { return m_playbackToolBar; }
  // The tag toolbar `工具条_标签加入`.
  QToolBar* tagToolBar() const { return m_tagToolBar; }
  // The status bar `状态条_编辑状态`.
  QStatusBar* editStatusBar() const { return m_statusBar; }
  // Status-bar part `part` (0..5).
  QLabel* statusLabel(int part) const { return m_statusLabels.at(static_cast<std::size_t>(part)); }
  // Header box by lyrics::HeaderFields index: singer, song, album, editor.
  QLineEdit* headerEdit(int field) const {
    return m_headerEdits.at(static_cast<std::size_t>(field));
  }
  // The lyrics preview box `编辑框_歌词预览`.
  QPlainTextEdit* previewBox() const { return m_previewBox; }
  // The play-progress slider `滑块条_播放进度`.
  QSlider* progressSlider() const { return m_progressSlider; }
  // The volume slider `滑块条_右声道1`.
  QSlider* volumeSlider() const { return m_volumeSlider; }
  // The volume panel `分组框_声音控制`.
  QGroupBox* volumePanel() const { return m_volumePanel; }
  // The signature edit box `编辑框_个性签名`.
  QPlainTextEdit* signatureBox() const { return m_signatureBox; }
  // The signature panel `分组框_配置个性签名` with its buttons `按钮_个性签名` (确定) and
  // `按钮_关闭`.
  QGroupBox* signaturePanel() const { return m_signaturePanel; }
  QPushButton* signatureConfirm() const { return m_signatureConfirm; }
  QPushButton* signatureClose() const { return m_signatureClose; }
  // The tag button `工具条_标签加入_1` and the pause button `工具条_控制播放_6`.
  QAction* tagButton() const { return m_tagButton; }
  QAction* pauseButton() const { return m_pauseButton; }
  // The small label beside the tag button that names the playback speed while it is not 1.0;
  // hidden otherwise.
  QLabel* speedLabel() const { return m_speedLabel; }
  // The saved-lyrics panel `分组框_保存文件` and its toggle picture `图片框_开`.
  QGroupBox* savedPanel() const { return m_savedPanel; }
  QLabel* savedPanelPicture() const { return m_savedPanelPicture; }
  // The speaker picture `图片框_声音控制` and the volume panel's value label `标签_右1`.
  QLabel* speakerPicture() const { return m_speakerPicture; }
  QLabel* volumeLabel() const { return m_volumeLabel; }
  // Test play: the display box `编辑框_青禾歌词编辑器`, the close picture `图片框_关闭` and the
  // curtain pieces `标签_歌词预览左` and `标签_歌词预览右`.
  QLineEdit* testPlayDisplay() const { return m_testPlayDisplay; }
  QLabel* closePicture() const { return m_closePicture; }
  QLabel* curtainLeft() const { return m_curtainLeft; }
  QLabel* curtainRight() const { return m_curtainRight; }
  // The text panels `标签_软件说明` (quick start) and `标签_关于软件` (About).
  QLabel* quickStartPanel() const { return m_quickStartPanel; }
  QLabel* aboutPanel() const { return m_aboutPanel; }
  // The links `超级链接框1` (author contact) and `超级链接框2` (the maker's website).
  QLabel* contactLink() const { return m_contactLink; }
  QLabel* homeLink() const { return m_homeLink; }
  // The menu bar's menus and the three pop-up menus.
  MainMenus& menus() const { return *m_menus; }
  // The window's timers.
  const Timers& timers() const { return m_timers; }
  // The timer named `name` (e.g. "时钟_毫秒"), for black-box tests; nullptr for an unknown name.
  QtIntervalTimer* timer(const QString& name) const;
  // A control by its design name, for black-box tests.
  template <typename T>
  T* control(const QString& name) const {
    return findChild<T*>(name);
  }

  // Moves the window so that its centre is the centre of its screen.
  void centreOnScreen();
  // Adds a step that runs once when the window closes, before it goes away.
  void addClosingStep(std::function<void()> step) { m_closingSteps.push_back(std::move(step)); }

 signals:
  // Files were dropped onto the lyrics list; `text` is the path, or each path plus "\r\n", as
  // document text.
  void lyricsDropped(const std::string& text);
  // Files were dropped anywhere else on the window (the song drop).
  void audioDropped(const std::string& text);
  // The mouse moved over the window's own surface or one of its see-through group boxes, at
  // `pos` in client coordinates.
  void surfaceMouseMoved(QPoint pos);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildTopArea();
  void buildEditArea();
  void buildStatusBar();
  void buildParkedPanels();
  void buildTimers();
  // Filters the events of `control`, one of the window's own.
  void watch(QObject* control);

  QWidget* m_client = nullptr;
  MainMenus* m_menus = nullptr;
  QToolBar* m_playbackToolBar = nullptr;
  QToolBar* m_tagToolBar = nullptr;
  QSlider* m_progressSlider = nullptr;
  QTreeWidget* m_songList = nullptr;
  LyricsListView* m_lyricsView = nullptr;
  QWidget* m_lyricsViewport = nullptr;
  std::vector<QLineEdit*> m_headerEdits;
  QStatusBar* m_statusBar = nullptr;
  std::vector<QLabel*> m_statusLabels;
  QGroupBox* m_volumePanel = nullptr;
  QGroupBox* m_supportBox = nullptr;  // `分组框1`
  QSlider* m_volumeSlider = nullptr;
  QTreeView* m_savedLyricsList = nullptr;
  QPlainTextEdit* m_previewBox = nullptr;
  QPlainTextEdit* m_signatureBox = nullptr;
  QGroupBox* m_signaturePanel = nullptr;
  QPushButton* m_signatureConfirm = nullptr;
  QPushButton* m_signatureClose = nullptr;
  QAction* m_tagButton = nullptr;
  QLabel* m_speedLabel = nullptr;
  QAction* m_pauseButton = nullptr;
  QGroupBox* m_savedPanel = nullptr;
  QLabel* m_savedPanelPicture = nullptr;
  QLabel* m_speakerPicture = nullptr;
  QLabel* m_volumeLabel = nullptr;
  QLineEdit* m_testPlayDisplay = nullptr;
  QLabel* m_closePicture = nullptr;
  QLabel* m_curtainLeft = nullptr;
  QLabel* m_curtainRight = nullptr;
  QLabel* m_quickStartPanel = nullptr;
  QLabel* m_aboutPanel = nullptr;
  QLabel* m_contactLink = nullptr;
  QLabel* m_homeLink = nullptr;
  Timers m_timers{};
  // The controls whose events the window filters; it lets go of them before they are destroyed.
  std::vector<QPointer<QObject>> m_watched;
  std::vector<std::function<void()>> m_closingSteps;
  bool m_closed = false;
};

}  // namespace app
