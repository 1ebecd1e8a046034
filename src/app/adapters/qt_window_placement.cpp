#include "app/adapters/qt_window_placement.h"

#include <QGuiApplication>
#include <QWidget>

namespace app {

bool QtWindowPlacement::canPlaceWindow() const {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void QtWindowPlacement::moveWindowTop(int top) { m_window->move(m_window->x(), top); }

}  // namespace app
