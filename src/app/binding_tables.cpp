#include "app/binding_tables.h"

#include "app/main_window.h"

namespace app {

QtIntervalTimer& timerOf(const MainWindow& window, const char* name) {
  QtIntervalTimer* timer = window.timer(QString::fromUtf8(name));
  Q_ASSERT(timer);
  return *timer;
}

}  // namespace app
