#pragma once

#include <QObject>

#include "app/editor_state.h"
#include "shell/command_registry.h"

namespace app {

class MainWindow;

// Makes each user action one step of the undo history: whatever changes the lines, the header
// boxes or the song row, the step closes when control returns to the event loop, so one menu
// command, drop or write-back is one step however many lines it touched. Registers 撤销 and 重做,
// and greys each menu item while there is nothing for it to do.
class UndoBindings : public QObject {
  Q_OBJECT

 public:
  // Watches the document of `state`, registers Undo and Redo in `registry` and keeps their items
  // in the menus of `window` enabled while they can do something.
  UndoBindings(MainWindow& window, EditorState& state, shell::CommandRegistry& registry);
  ~UndoBindings() override;

  // Closes the action under way now rather than when the event loop next runs.
  void settleNow();

 signals:
  // The lines, the selection, a header box or the song row may have changed.
  void documentChanged();

 private:
  void settleSoon();
  // Enables 撤销 while a step can be undone or one is under way, 重做 while one can be redone.
  void showAvailability();

  MainWindow& m_window;
  EditorState& m_state;
  std::size_t m_headerListener = 0;
  bool m_settleQueued = false;
};

}  // namespace app
