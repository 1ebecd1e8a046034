#pragma once

#include <QObject>
#include <vector>

#include "app/adapters/qt_window_placement.h"
#include "app/editor_state.h"
#include "shell/window_drop.h"

namespace app {

class MainWindow;

// The status bar 状态条_编辑状态: its six parts show the status texts of the state, and the first
// mouse move over its lower half drops the window (时钟_启动窗口下).
class StatusBarBindings : public QObject {
  Q_OBJECT

 public:
  // Shows the status texts of `state` in `window`'s status bar and arms the window drop.
  StatusBarBindings(MainWindow& window, EditorState& state);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showTexts();
  void armWindowDrop();

  MainWindow& m_window;
  EditorState& m_state;
  QtWindowPlacement m_placement;
  shell::WindowDrop m_drop;
  // Compared only, never dereferenced: events may arrive while the window takes them down.
  std::vector<const QObject*> m_watched;
};

}  // namespace app
