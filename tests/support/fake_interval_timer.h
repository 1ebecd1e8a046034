#pragma once

#include <string>
#include <vector>

#include "platform/interval_timer.h"

namespace testsupport {

// A timer that never fires by itself: tests read its interval and call the tick by hand. It may
// write every interval it is given into a log shared with other fakes ("timer:10"), so tests
// can check the order of effects.
class FakeIntervalTimer : public platform::IntervalTimer {
 public:
  explicit FakeIntervalTimer(std::vector<std::string>* log = nullptr) : m_log(log) {}
  void setInterval(int milliseconds) override {
    m_interval = milliseconds > 0 ? milliseconds : 0;
    history.push_back(m_interval);
    if (m_log) m_log->push_back("timer:" + std::to_string(m_interval));
  }
  int interval() const override { return m_interval; }
  bool running() const { return m_interval > 0; }

  // Every interval set, in order (0 for a stop).
  std::vector<int> history;

 private:
  std::vector<std::string>* m_log;
  int m_interval = 0;
};

}  // namespace testsupport
