#pragma once

#include <vector>

#include "platform/interval_timer.h"

namespace testsupport {

// A timer that never fires by itself: tests read its interval and call the tick by hand.
class FakeIntervalTimer : public platform::IntervalTimer {
 public:
  void setInterval(int milliseconds) override {
    m_interval = milliseconds > 0 ? milliseconds : 0;
    history.push_back(m_interval);
  }
  int interval() const override { return m_interval; }
  bool running() const { return m_interval > 0; }

  // Every interval set, in order (0 for a stop).
  std::vector<int> history;

 private:
  int m_interval = 0;
};

}  // namespace testsupport
