#pragma once

#include <QObject>
#include <QTimer>

#include "platform/interval_timer.h"

namespace app {

// A precise QTimer driven by its interval: setting the running interval again keeps the phase,
// a different interval restarts the count, and 0 or less stops it.
class QtIntervalTimer : public QObject, public platform::IntervalTimer {
  Q_OBJECT

 public:
  // A stopped timer named `name` (its design name).
  explicit QtIntervalTimer(const QString& name, QObject* parent = nullptr);

  void setInterval(int milliseconds) override;
  int interval() const override;
  // Milliseconds until the next tick; -1 when stopped.
  int remainingTime() const { return m_timer.remainingTime(); }

 signals:
  // One tick of the running timer.
  void ticked();

 private:
  QTimer m_timer;
};

}  // namespace app
