#include "app/xwayland_choice.h"

#include <QtGlobal>

namespace app {

bool shouldUseXWayland(const QByteArray& waylandDisplay, const QByteArray& display,
                       const QByteArray& userPlatform) {
  return !waylandDisplay.isEmpty() && !display.isEmpty() && userPlatform.isEmpty();
}

void preferXWayland() {
  if (shouldUseXWayland(qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
                        qgetenv("QT_QPA_PLATFORM"))) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
}

}  // namespace app
