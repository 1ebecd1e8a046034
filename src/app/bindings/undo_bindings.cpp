#include "app/bindings/undo_bindings.h"

#include <QAction>
#include <QPointer>
#include <QTimer>

#include "app/window/main_menus.h"
#include "app/window/main_window.h"

namespace app {

UndoBindings::UndoBindings(MainWindow& window, EditorState& state, shell::CommandRegistry& registry)
    : m_window(window), m_state(state) {
  state.history.setChangeListener([this] { settleSoon(); });
  m_headerListener =
      state.headers.addListener([this](lyrics::HeaderFields::Field) { settleSoon(); });
  // The song row has no way to take a listener off: the listener checks that this still lives.
  state.song.addListener([self = QPointer<UndoBindings>(this)] {
    if (self) self->settleSoon();
  });
  registry.add("Undo", [this] {
    if (m_state.history.undo()) emit documentChanged();
    showAvailability();
  });
  registry.add("Redo", [this] {
    if (m_state.history.redo()) emit documentChanged();
    showAvailability();
  });
  showAvailability();
}

UndoBindings::~UndoBindings() {
  m_state.history.setChangeListener(nullptr);
  m_state.headers.removeListener(m_headerListener);
}

void UndoBindings::settleSoon() {
  if (m_settleQueued) return;
  m_settleQueued = true;
  showAvailability();
  QTimer::singleShot(0, this, [this] { settleNow(); });
}

void UndoBindings::settleNow() {
  m_settleQueued = false;
  m_state.history.settle();
  emit documentChanged();
  showAvailability();
}

void UndoBindings::showAvailability() {
  // A change under way becomes a step that 撤销 takes back, even before it has settled.
  if (QAction* undo = m_window.menus().action(QStringLiteral("Undo"))) {
    undo->setEnabled(m_settleQueued || m_state.history.canUndo());
  }
  if (QAction* redo = m_window.menus().action(QStringLiteral("Redo"))) {
    redo->setEnabled(m_state.history.canRedo());
  }
}

}  // namespace app
