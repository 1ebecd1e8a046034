#include "app/bindings/test_play_bindings.h"

#include <QEvent>
#include <QLabel>

#include "app/adapters/qt_interval_timer.h"
#include "app/bindings/binding_tables.h"
#include "app/window/main_window.h"

namespace app {

TestPlayBindings::TestPlayBindings(MainWindow& window, EditorState& state, const Services& services,
                                   shell::CommandRegistry& registry)
    : QObject(&window),
      m_window(window),
      m_view(window),
      m_curtain(m_view, {*window.timers().curtainCloseLeft, *window.timers().curtainCloseRight,
                         *window.timers().curtainOpenLeft, *window.timers().curtainOpenRight}),
      m_testPlay(
          {m_view, state.lyrics, state.currentTag, state.song, state.clock, state.playback,
           services.prompter, m_random, *window.timers().testPlaySync,
           *window.timers().testPlayColour},
          [this] { m_curtain.close(); }, [this] { m_curtain.open(); }),
      m_closePicture(m_view.closePicture()) {
  // 测试当前编辑歌词 (F2) and the playback toolbar's 测试.
  registry.add("StartTestPlay", [this] { m_testPlay.startTestPlay(); });
  m_view.closePicture()->installEventFilter(this);
  bindTimers(window);
}

void TestPlayBindings::bindTimers(MainWindow& window) {
  const MainWindow::Timers& timers = window.timers();
  connectTimerTicks(this, m_testPlay,
                    {{timers.testPlaySync, &playback::TestPlay::syncPreviewTick},
                     {timers.testPlayColour, &playback::TestPlay::colourTick}});
  shell::Curtain::Slides& slides = m_curtain.slides();
  connectSlides(this, {{timers.curtainCloseLeft, slides.closeLeft},
                       {timers.curtainCloseRight, slides.closeRight},
                       {timers.curtainOpenLeft, slides.openLeft},
                       {timers.curtainOpenRight, slides.openRight}});
}

void TestPlayBindings::parkCurtain() {
  m_window.curtainLeft()->move(shell::Curtain::kLeftParked, shell::Curtain::kTop);
  m_window.curtainRight()->move(shell::Curtain::kRightParked, shell::Curtain::kTop);
}

bool TestPlayBindings::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_closePicture && event->type() == QEvent::MouseButtonDblClick) {
    m_testPlay.endTestPlay();
    return true;
  }
  return false;
}

}  // namespace app
