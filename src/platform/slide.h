#pragma once

#include <functional>

#include "platform/interval_timer.h"

namespace platform {

// A panel moved along one axis by a 10 ms timer. Each tick moves it by `step`; the first
// position on or past `threshold` (in the direction of the step) is replaced by `end`, the
// timer stops and the arrival step runs.
class Slide {
 public:
  static constexpr int kTickMs = 10;

  // One slide's step, the position at which it stops and the position it snaps to there.
  struct Rule {
    int step;
    int threshold;
    int end;
  };

  // `move` puts the panel at a position; `arrived` runs once the panel rests at `rule.end`.
  Slide(IntervalTimer& timer, Rule rule, std::function<void(int)> move,
        std::function<void()> arrived = {});

  // Starts the timer with the panel at `from`; a running timer keeps its phase.
  void start(int from);
  // Stops the timer wherever the panel is.
  void stop() { m_timer.setInterval(0); }
  // One tick of the timer; nothing while it is stopped.
  void tick();
  // True while the timer runs.
  bool running() const { return m_timer.interval() > 0; }

 private:
  IntervalTimer& m_timer;
  Rule m_rule;
  std::function<void(int)> m_move;
  std::function<void()> m_arrived;
  int m_position = 0;
};

}  // namespace platform
