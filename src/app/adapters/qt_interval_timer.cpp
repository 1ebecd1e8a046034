#include "app/adapters/qt_interval_timer.h"

namespace app {

QtIntervalTimer::QtIntervalTimer(const QString& name, QObject* parent) : QObject(parent) {
  setObjectName(name);
  // 10 ms ticks drive the play clock's hundredths; a coarse timer would drift visibly.
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &QtIntervalTimer::ticked);
}

void QtIntervalTimer::setInterval(int milliseconds) {
  if (milliseconds <= 0) {
    m_timer.stop();
    return;
  }
  // QTimer::setInterval restarts a running timer even for the same value, which would push
  // the next tick of a clock that is written every tick further and further away.
  if (m_timer.isActive() && m_timer.interval() == milliseconds) return;
  m_timer.start(milliseconds);
}

int QtIntervalTimer::interval() const { return m_timer.isActive() ? m_timer.interval() : 0; }

}  // namespace app
