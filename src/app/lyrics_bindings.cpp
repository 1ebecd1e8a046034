#include "app/lyrics_bindings.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/lyrics_list_view.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/qt_interval_timer.h"

namespace app {

namespace {

QtIntervalTimer& timerOf(const MainWindow& window, const char* name) {
  QtIntervalTimer* timer = window.timer(QString::fromUtf8(name));
  Q_ASSERT(timer);
  return *timer;
}

}  // namespace

LyricsBindings::LyricsBindings(MainWindow& window, Models models,
                               const std::string& programDirectory,
                               std::function<void()> clearSongList)
    : m_window(window),
      m_lyricsViewport(window.lyricsView()->viewport()),
      m_previewBox(window.previewBox()),
      m_previewViewport(window.previewBox()->viewport()),
      m_previewView(window.previewBox()),
      m_signaturePanel(window.control<QGroupBox>(QStringLiteral("分组框_配置个性签名")),
                       window.signatureBox()),
      m_tags(models.list, models.timeTags, models.doubleClickMode, models.prompter),
      m_lines(models.list, models.headers, models.status, models.prompter, std::move(clearSongList),
              [this](const std::string& text) { m_preview.previewLyrics(text); }),
      m_signature(m_signaturePanel, models.list, models.timeTags, programDirectory),
      m_preview(m_previewView, models.list, models.status, timerOf(window, "时钟_歌词预览开"),
                timerOf(window, "时钟_歌词预览关")) {
  // The box waits disabled until its first slide-in has brought it into view.
  m_previewBox->setEnabled(false);
  bindMenus();
  bindControls();
}

LyricsBindings::~LyricsBindings() {
  for (QObject* watched :
       {static_cast<QObject*>(m_lyricsViewport.data()), static_cast<QObject*>(m_previewBox.data()),
        static_cast<QObject*>(m_previewViewport.data())}) {
    if (watched) watched->removeEventFilter(this);
  }
}

void LyricsBindings::onCommand(const QString& name, const std::function<void()>& command) {
  // The same command may sit in the menu bar, in the list's pop-up and on the tag toolbar.
  const QList<QAction*> actions = {m_window.menus().action(name),
                                   m_window.menus().popupAction(name)};
  for (QAction* action : actions) {
    if (action) connect(action, &QAction::triggered, this, [command] { command(); });
  }
}

void LyricsBindings::bindMenus() {
  onCommand("AddTimeTag", [this] { m_tags.addTimeTag(); });
  onCommand("DeleteLineTag", [this] { m_tags.deleteLineTag(); });
  onCommand("ToggleDoubleClickAdd", [this] { m_tags.toggleDoubleClickAdd(); });
  onCommand("ToggleDoubleClickDelete", [this] { m_tags.toggleDoubleClickDelete(); });
  onCommand("DeleteAllTimeTags", [this] { m_tags.deleteAllTimeTags(); });
  onCommand("StripTagFractions", [this] { m_tags.stripTagFractions(); });
  onCommand("DeleteUntaggedLines", [this] { m_tags.deleteUntaggedLines(); });
  onCommand("MoveLineUp", [this] { m_lines.moveLineUp(); });
  onCommand("MoveLineDown", [this] { m_lines.moveLineDown(); });
  onCommand("DeleteSelectedLine", [this] { m_lines.deleteSelectedLine(); });
  onCommand("ClearLyrics", [this] { m_lines.clearLyrics(); });
  onCommand("NewLyricsFile", [this] { m_lines.newLyricsFile(); });
  onCommand("DeleteAllSpaces", [this] { m_lines.deleteAllSpaces(); });
  onCommand("DeleteEmptyLines", [this] { m_lines.deleteEmptyLines(); });
  onCommand("PreviewLyrics", [this] { m_lines.previewLyrics(); });
  onCommand("SetSignature", [this] { m_signature.setSignature(); });
  onCommand("AddSignature", [this] { m_signature.addSignature(); });
  onCommand("AppendSignature", [this] { m_signature.appendSignature(); });

  const struct {
    const char* name;
    void (lyrics::TagCommands::*command)();
  } toolButtons[] = {{"工具条_标签加入_1", &lyrics::TagCommands::addTimeTag},
                     {"工具条_标签加入_3", &lyrics::TagCommands::deleteLineTag}};
  for (const auto& button : toolButtons) {
    if (auto* action = m_window.findChild<QAction*>(QString::fromUtf8(button.name))) {
      connect(action, &QAction::triggered, this,
              [this, command = button.command] { (m_tags.*command)(); });
    }
  }
}

void LyricsBindings::bindControls() {
  // Only the left button tags; the right one opens the pop-up.
  connect(m_window.lyricsView(), &LyricsListView::listDoubleClicked, this,
          [this](Qt::MouseButton button) {
            if (button == Qt::LeftButton) m_tags.listDoubleClick();
          });
  m_lyricsViewport->installEventFilter(this);

  // Mouse moves reach the box's viewport even with no button held only with tracking on.
  m_previewBox->setMouseTracking(true);
  m_previewViewport->setMouseTracking(true);
  m_previewViewport->installEventFilter(this);
  m_previewBox->installEventFilter(this);
  connect(&timerOf(m_window, "时钟_歌词预览开"), &QtIntervalTimer::ticked, this,
          [this] { m_preview.slideInTick(); });
  connect(&timerOf(m_window, "时钟_歌词预览关"), &QtIntervalTimer::ticked, this,
          [this] { m_preview.slideOutTick(); });

  if (auto* confirm = m_window.control<QPushButton>(QStringLiteral("按钮_个性签名"))) {
    connect(confirm, &QPushButton::clicked, this, [this] { m_signature.confirmSignature(); });
  }
  if (auto* close = m_window.control<QPushButton>(QStringLiteral("按钮_关闭"))) {
    connect(close, &QPushButton::clicked, this, [this] { m_signature.closeSignaturePanel(); });
  }
}

bool LyricsBindings::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == m_lyricsViewport.data()) {
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
      return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton) return false;
    // The right button never reaches the view, so it cannot move the selection: the pop-up's
    // commands act on the line that was selected before.
    if (type == QEvent::MouseButtonRelease) {
      if (QMenu* popup = m_window.menus().popup(QStringLiteral("列表框编辑歌词"))) {
        MainMenus::showPopupAt(popup, mouse->globalPosition().toPoint());
      }
    }
    return true;
  }
  if (type == QEvent::MouseMove &&
      (watched == m_previewBox.data() || watched == m_previewViewport.data())) {
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint inBox =
        widget->mapTo(m_previewBox, static_cast<QMouseEvent*>(event)->position().toPoint());
    m_preview.commitPreviewEdits(inBox.y());
  }
  return false;
}

}  // namespace app
