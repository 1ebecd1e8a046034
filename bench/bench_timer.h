#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

#include "platform/interval_timer.h"

namespace bench {

// The tick timer as the window has it: a precise QTimer driven by its interval.
class BenchTimer : public platform::IntervalTimer {
 public:
  explicit BenchTimer(std::function<void()> onTick) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, std::move(onTick));
  }
  void setInterval(int ms) override {
    if (ms <= 0) {
      m_timer.stop();
    } else if (!m_timer.isActive() || m_timer.interval() != ms) {
      m_timer.start(ms);
    }
  }
  int interval() const override { return m_timer.isActive() ? m_timer.interval() : 0; }

 private:
  QTimer m_timer;
};

}  // namespace bench
