#include "app/lyrics_bindings.h"

#include <QEvent>
#include <QGroupBox>
#include <QAbstractItemView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/binding_tables.h"
#include "app/lyrics_list_view.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/qt_interval_timer.h"

namespace app {

LyricsBindings::LyricsBindings(MainWindow& window, shell::CommandRegistry& registry, Models models,
                               const std::string& programDirectory,
                               std::function<void()> clearSongList)
    : m_window(window),
      m_doubleClickMode(models.doubleClickMode),
      m_lyricsViewport(window.lyricsView()->viewport()),
      m_previewBox(window.previewBox()),
      m_previewViewport(window.previewBox()->viewport()),
      m_previewView(window.previewBox()),
      m_signaturePanel(window.control<QGroupBox>(QStringLiteral("分组框_配置个性签名")),
                       window.signatureBox()),
      m_tags(models.list, models.timeTags, models.doubleClickMode, models.prompter),
      m_lines(models.list, models.headers, models.status, models.prompter, std::move(clearSongList),
              [this](const std::string& text) { m_preview.previewLyrics(text); }),
      m_signature(m_signaturePanel, models.list, models.timeTags, models.prompter,
                  programDirectory),
      m_preview(m_previewView, models.list, models.status, timerOf(window, "时钟_歌词预览开"),
                timerOf(window, "时钟_歌词预览关")) {
  // The box waits disabled until its first slide-in has brought it into view.
  m_previewBox->setEnabled(false);
  registerCommands(registry);
  bindControls();
}

LyricsBindings::~LyricsBindings() {
  for (QObject* watched :
       {static_cast<QObject*>(m_lyricsViewport.data()), static_cast<QObject*>(m_previewBox.data()),
        static_cast<QObject*>(m_previewViewport.data())}) {
    if (watched) watched->removeEventFilter(this);
  }
}

void LyricsBindings::registerCommands(shell::CommandRegistry& registry) {
  addMemberCommands(registry, m_tags,
                    {{"AddTimeTag", &lyrics::TagCommands::addTimeTag},
                     {"DeleteLineTag", &lyrics::TagCommands::deleteLineTag},
                     {"DeleteAllTimeTags", &lyrics::TagCommands::deleteAllTimeTags},
                     {"StripTagFractions", &lyrics::TagCommands::stripTagFractions},
                     {"DeleteUntaggedLines", &lyrics::TagCommands::deleteUntaggedLines}});
  addMemberCommands(registry, m_lines,
                    {{"MoveLineUp", &lyrics::LineCommands::moveLineUp},
                     {"MoveLineDown", &lyrics::LineCommands::moveLineDown},
                     {"DeleteSelectedLine", &lyrics::LineCommands::deleteSelectedLine},
                     {"ClearLyrics", &lyrics::LineCommands::clearLyrics},
                     {"NewLyricsFile", &lyrics::LineCommands::newLyricsFile},
                     {"DeleteAllSpaces", &lyrics::LineCommands::deleteAllSpaces},
                     {"DeleteEmptyLines", &lyrics::LineCommands::deleteEmptyLines},
                     {"PreviewLyrics", &lyrics::LineCommands::previewLyrics}});
  addMemberCommands(registry, m_signature,
                    {{"SetSignature", &lyrics::Signature::setSignature},
                     {"AddSignature", &lyrics::Signature::addSignature},
                     {"AppendSignature", &lyrics::Signature::appendSignature}});

  registry.addCheckable(
      "ToggleDoubleClickAdd", [this] { m_tags.toggleDoubleClickAdd(); },
      [this] { return m_doubleClickMode.addsTag(); });
  registry.addCheckable(
      "ToggleDoubleClickDelete", [this] { m_tags.toggleDoubleClickDelete(); },
      [this] { return m_doubleClickMode.deletesTag(); });
  // The mode also changes outside the two commands (start-up values).
  m_doubleClickMode.addListener([&registry] { registry.checkedStateChanged(); });
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
  connectTimerTicks(m_window, this, m_preview,
                    {{"时钟_歌词预览开", &playback::LyricsPreview::slideInTick},
                     {"时钟_歌词预览关", &playback::LyricsPreview::slideOutTick}});

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
