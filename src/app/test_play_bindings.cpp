#include "app/test_play_bindings.h"

#include <QEvent>
#include <QLabel>

#include "app/binding_tables.h"
#include "app/main_window.h"
#include "app/playback_bindings.h"
#include "app/qt_interval_timer.h"

namespace app {

TestPlayBindings::TestPlayBindings(MainWindow& window, shell::CommandRegistry& registry,
                                   lyrics::LyricsList& list,
                                   const lyrics::CurrentTimeTag& currentTag,
                                   platform::Prompter& prompter, PlaybackBindings& playback)
    : QObject(&window),
      m_view(window),
      m_curtain(m_view, {timerOf(window, "时钟_控制标签左"), timerOf(window, "时钟_控制标签右"),
                         timerOf(window, "时钟_控制歌词预览标签左关"),
                         timerOf(window, "时钟_控制歌词预览标签右关")}),
      m_testPlay(
          {m_view, list, currentTag, playback.songRow(), playback.clock(), playback.controller(),
           prompter, m_random, timerOf(window, "时钟_测试播放"),
           timerOf(window, "时钟_歌词预览文本颜色")},
          [this] { m_curtain.close(); }, [this] { m_curtain.open(); }),
      m_closePicture(m_view.closePicture()) {
  // 测试当前编辑歌词 (F2) and the playback toolbar's 测试.
  registry.add("StartTestPlay", [this] { m_testPlay.startTestPlay(); });
  m_view.closePicture()->installEventFilter(this);
  bindTimers(window);
}

void TestPlayBindings::bindTimers(MainWindow& window) {
  connectTimerTicks(window, this, m_testPlay,
                    {{"时钟_测试播放", &playback::TestPlay::syncPreviewTick},
                     {"时钟_歌词预览文本颜色", &playback::TestPlay::colourTick}});
  connectTimerTicks(window, this, m_curtain,
                    {{"时钟_控制标签左", &shell::Curtain::closeLeftTick},
                     {"时钟_控制标签右", &shell::Curtain::closeRightTick},
                     {"时钟_控制歌词预览标签左关", &shell::Curtain::openLeftTick},
                     {"时钟_控制歌词预览标签右关", &shell::Curtain::openRightTick}});
}

bool TestPlayBindings::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_closePicture && event->type() == QEvent::MouseButtonDblClick) {
    m_testPlay.endTestPlay();
    return true;
  }
  return false;
}

}  // namespace app
