#include "app/bindings/undo_bindings.h"

#include <QPointer>
#include <QTimer>

namespace app {

UndoBindings::UndoBindings(EditorState& state, shell::CommandRegistry& registry) : m_state(state) {
  state.history.setChangeListener([this] { settleSoon(); });
  m_headerListener =
      state.headers.addListener([this](lyrics::HeaderFields::Field) { settleSoon(); });
  // The song row has no way to take a listener off: the listener checks that this still lives.
  state.song.addListener([self = QPointer<UndoBindings>(this)] {
    if (self) self->settleSoon();
  });
  registry.add("Undo", [this] {
    if (m_state.history.undo()) emit documentChanged();
  });
  registry.add("Redo", [this] {
    if (m_state.history.redo()) emit documentChanged();
  });
}

UndoBindings::~UndoBindings() {
  m_state.history.setChangeListener(nullptr);
  m_state.headers.removeListener(m_headerListener);
}

void UndoBindings::settleSoon() {
  if (m_settleQueued) return;
  m_settleQueued = true;
  QTimer::singleShot(0, this, [this] { settleNow(); });
}

void UndoBindings::settleNow() {
  m_settleQueued = false;
  m_state.history.settle();
  emit documentChanged();
}

}  // namespace app
