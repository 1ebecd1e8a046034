#pragma once

#include <QObject>

#include "app/qt_test_play_view.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/lyrics_list.h"
#include "platform/prompter.h"
#include "platform/random_source.h"
#include "playback/test_play.h"
#include "shell/command_registry.h"
#include "shell/curtain.h"

namespace app {

class MainWindow;
class PlaybackBindings;

// Connects test play and its curtain to the main window: 测试当前编辑歌词 (F2), the playback
// toolbar's 测试, the double-click on the close picture and the six timers involved.
class TestPlayBindings : public QObject {
  Q_OBJECT

 public:
  // Everything is owned by the caller and outlives the bindings; the song plays through
  // `playback`'s controller.
  TestPlayBindings(MainWindow& window, shell::CommandRegistry& registry, lyrics::LyricsList& list,
                   const lyrics::CurrentTimeTag& currentTag, platform::Prompter& prompter,
                   PlaybackBindings& playback);

  // The test-play commands and the curtain, for callers and tests that run them directly.
  playback::TestPlay& testPlay() { return m_testPlay; }
  shell::Curtain& curtain() { return m_curtain; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void bindTimers(MainWindow& window);

  QtTestPlayView m_view;
  platform::SystemRandomSource m_random;
  shell::Curtain m_curtain;
  playback::TestPlay m_testPlay;
  // Compared only, never dereferenced: events may arrive while the window takes it down.
  const QObject* m_closePicture;
};

}  // namespace app
