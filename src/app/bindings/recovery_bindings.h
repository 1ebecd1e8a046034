#pragma once

#include <QObject>
#include <QTimer>

#include "app/editor_state.h"
#include "shell/command_registry.h"

namespace app {

class MainWindow;
class UndoBindings;

// Keeps the document in its recovery file: about a second after a change (never more often),
// and at close. Registers 恢复上次关闭时的歌词, enabled while an ended run left a document and no
// restore is under way; the document it brings back is read off the window's thread and put in
// when the event loop next runs after the read.
class RecoveryBindings : public QObject {
  Q_OBJECT

 public:
  // Follows the changes `undo` reports and registers the command in `registry`.
  RecoveryBindings(MainWindow& window, EditorState& state, UndoBindings& undo,
                   shell::CommandRegistry& registry);
  // No read that ends later calls back into it.
  ~RecoveryBindings() override;

  // Calls off a restore not yet put in, writes the document when it changed since the last
  // write, and waits for the disk.
  void writeAtClose();
  // Enables the item while there is a document to bring back.
  void showRestorable();
  // The document changed: it is written about a second later.
  void noteChange();

 private:
  // Puts in the document a restore has read.
  void finishRestore();

  MainWindow& m_window;
  EditorState& m_state;
  UndoBindings& m_undo;
  QTimer m_writeTimer;
};

}  // namespace app
