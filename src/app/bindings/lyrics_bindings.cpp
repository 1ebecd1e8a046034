#include "app/bindings/lyrics_bindings.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/binding_tables.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "app/window/shift_dialog.h"

namespace app {

LyricsBindings::LyricsBindings(MainWindow& window, EditorState& state, const Services& services,
                               shell::CommandRegistry& registry)
    : m_window(window),
      m_state(state),
      m_lyricsViewport(window.lyricsView()->viewport()),
      m_previewBox(window.previewBox()),
      m_previewViewport(window.previewBox()->viewport()),
      m_previewView(window.previewBox()),
      m_signaturePanel(window.signaturePanel(), window.signatureBox()),
      // A key press or the tag button stamps allowing for the user's key lag; a double-click
      // stamps the clock itself.
      m_tags(state.lyrics, state.pressTags, state.doubleClickMode, services.prompter, &state.clock),
      m_corrections(state.lyrics, state.pressTags, state.history, services.prompter),
      m_lines(state.lyrics, state.headers, state.status, services.prompter),
      m_signature(m_signaturePanel, state.lyrics, state.clock, services.prompter,
                  services.programDirectory),
      m_preview(m_previewView, state.lyrics, state.status, *window.timers().previewIn,
                *window.timers().previewOut) {
  // The box waits disabled until its first slide-in has brought it into view.
  m_previewBox->setEnabled(false);
  // Typed or filled anew, the box's text may change what the recovery file is to hold.
  connect(m_previewBox, &QPlainTextEdit::textChanged, this, &LyricsBindings::previewTextChanged);
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
  addMemberCommands(registry, m_corrections,
                    {{"RestampLine", &lyrics::TagCorrections::restampLine},
                     {"AlignToCurrentTime", &lyrics::TagCorrections::alignToCurrentTime}});
  for (const auto& [name, hundredths] :
       {std::pair{"NudgeTagEarlierTenth", -10}, std::pair{"NudgeTagLaterTenth", 10},
        std::pair{"NudgeTagEarlierHundredth", -1}, std::pair{"NudgeTagLaterHundredth", 1}}) {
    registry.add(name, [this, hundredths] { m_corrections.nudge(hundredths); });
  }
  registry.add("ShiftTimeTags", [this] { shiftTimeTags(); });
  addMemberCommands(registry, m_lines,
                    {{"MoveLineUp", &lyrics::LineCommands::moveLineUp},
                     {"MoveLineDown", &lyrics::LineCommands::moveLineDown},
                     {"DeleteSelectedLine", &lyrics::LineCommands::deleteSelectedLine},
                     {"ClearLyrics", &lyrics::LineCommands::clearLyrics},
                     {"DeleteAllSpaces", &lyrics::LineCommands::deleteAllSpaces},
                     {"DeleteEmptyLines", &lyrics::LineCommands::deleteEmptyLines}});
  registry.add("PreviewLyrics", [this] { m_preview.previewLyrics(); });
  registry.add("NewLyricsFile", [this] {
    if (m_lines.newLyricsFile()) m_state.song.clear();
  });
  addMemberCommands(registry, m_signature,
                    {{"SetSignature", &lyrics::Signature::setSignature},
                     {"AddSignature", &lyrics::Signature::addSignature},
                     {"AppendSignature", &lyrics::Signature::appendSignature}});

  registry.addCheckable(
      "ToggleDoubleClickAdd", [this] { m_tags.toggleDoubleClickAdd(); },
      [this] { return m_state.doubleClickMode.addsTag(); });
  registry.addCheckable(
      "ToggleDoubleClickDelete", [this] { m_tags.toggleDoubleClickDelete(); },
      [this] { return m_state.doubleClickMode.deletesTag(); });
  // The mode also changes outside the two commands (start-up values).
  m_state.doubleClickMode.addListener([&registry] { registry.checkedStateChanged(); });
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
  connectSlides(this, {{m_window.timers().previewIn, m_preview.slideIn()},
                       {m_window.timers().previewOut, m_preview.slideOut()}});

  connect(m_window.signatureConfirm(), &QPushButton::clicked, this,
          [this] { m_signature.confirmSignature(); });
  connect(m_window.signatureClose(), &QPushButton::clicked, this,
          [this] { m_signature.closeSignaturePanel(); });
}

void LyricsBindings::shiftTimeTags() {
  ShiftDialog dialog(m_state.lyrics.selection() >= 0, &m_window);
  if (dialog.exec() != QDialog::Accepted) return;
  m_corrections.shiftTags(dialog.hundredths(), dialog.allLines()
                                                   ? lyrics::ShiftScope::All
                                                   : lyrics::ShiftScope::SelectedAndBelow);
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
      MainMenus::showPopupAt(m_window.menus().lyricsPopup(), mouse->globalPosition().toPoint());
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
