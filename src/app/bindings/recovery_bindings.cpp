#include "app/bindings/recovery_bindings.h"

#include <QAction>
#include <QMenu>

#include "app/bindings/undo_bindings.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"

namespace app {

namespace {

constexpr char kCommand[] = "RestoreClosedLyrics";

}  // namespace

RecoveryBindings::RecoveryBindings(MainWindow& window, EditorState& state, UndoBindings& undo,
                                   shell::CommandRegistry& registry)
    : QObject(&window), m_window(window), m_state(state), m_undo(undo) {
  m_writeTimer.setSingleShot(true);
  connect(&m_writeTimer, &QTimer::timeout, this, [this] { m_state.recovery.write(); });
  // A change waits for its write a second (longer for a huge document); later changes ride
  // along with it.
  connect(&undo, &UndoBindings::documentChanged, this, &RecoveryBindings::noteChange);
  m_state.recovery.setRestoreReady([this] {
    // On the recovery's thread: the document is put in on the window's.
    QMetaObject::invokeMethod(this, &RecoveryBindings::finishRestore, Qt::QueuedConnection);
  });
  registry.add(kCommand, [this] {
    m_state.recovery.restore();
    showRestorable();
  });
  // Another editor may end while this one runs: the item is looked at again each time the
  // menu opens.
  if (QAction* item = m_window.menus().action(QString::fromLatin1(kCommand))) {
    for (QObject* owner : item->associatedObjects()) {
      if (auto* menu = qobject_cast<QMenu*>(owner)) {
        connect(menu, &QMenu::aboutToShow, this, [this] { showRestorable(); });
      }
    }
  }
  showRestorable();
}

RecoveryBindings::~RecoveryBindings() { m_state.recovery.setRestoreReady({}); }

void RecoveryBindings::finishRestore() {
  m_state.recovery.finishRestore();
  showRestorable();
}

void RecoveryBindings::showRestorable() {
  if (QAction* item = m_window.menus().action(QString::fromLatin1(kCommand))) {
    item->setEnabled(!m_state.recovery.restoring() && m_state.recovery.canRestore());
  }
}

void RecoveryBindings::noteChange() {
  m_state.recovery.noteChange();
  if (!m_writeTimer.isActive()) m_writeTimer.start(m_state.recovery.writeDelayMs());
}

void RecoveryBindings::writeAtClose() {
  m_writeTimer.stop();
  // Closing does not wait for a restore: the document written is the one the user sees, and
  // the ended run's file stays as it was.
  m_state.recovery.callOffRestore();
  // An action whose step is not yet closed still counts as a change.
  m_undo.settleNow();
  m_state.recovery.writeAndWait();
}

}  // namespace app
