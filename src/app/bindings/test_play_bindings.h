#pragma once

#include <QObject>

#include "app/adapters/qt_test_play_view.h"
#include "app/editor_state.h"
#include "app/services.h"
#include "platform/random_source.h"
#include "playback/test_play.h"
#include "shell/command_registry.h"
#include "shell/curtain.h"

namespace app {

class MainWindow;

// Connects test play and its curtain to the main window: 测试当前编辑歌词 (F2), the playback
// toolbar's 测试, the double-click on the close picture and the six timers involved.
class TestPlayBindings : public QObject {
  Q_OBJECT

 public:
  // Binds test play over the state of `state` to `window` and registers StartTestPlay.
  TestPlayBindings(MainWindow& window, EditorState& state, const Services& services,
                   shell::CommandRegistry& registry);

  // Start-up: the two halves of the curtain wait left and right of the visible area.
  void parkCurtain();
  // The test-play commands and the curtain, for callers and tests that run them directly.
  playback::TestPlay& testPlay() { return m_testPlay; }
  shell::Curtain& curtain() { return m_curtain; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void bindTimers(MainWindow& window);

  MainWindow& m_window;
  QtTestPlayView m_view;
  platform::SystemRandomSource m_random;
  shell::Curtain m_curtain;
  playback::TestPlay m_testPlay;
  // Compared only, never dereferenced: events may arrive while the window takes it down.
  const QObject* m_closePicture;
};

}  // namespace app
