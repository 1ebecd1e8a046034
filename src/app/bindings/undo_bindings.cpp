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
  registry.add("Undo", [this] { m_state.history.undo(); });
  registry.add("Redo", [this] { m_state.history.redo(); });
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
}

}  // namespace app
