#pragma once

#include <QByteArray>

namespace app {

// True when the editor should run through XWayland: a Wayland session (`waylandDisplay`) that
// also offers an X display (`display`), and no platform chosen by the user (`userPlatform`,
// the value of QT_QPA_PLATFORM). Empty values count as unset.
bool shouldUseXWayland(const QByteArray& waylandDisplay, const QByteArray& display,
                       const QByteArray& userPlatform);

// Sets QT_QPA_PLATFORM=xcb when shouldUseXWayland holds for the environment; must run before
// QApplication exists. On Wayland a program may not place its own window, and the editor
// centres its window at start-up and lets it drop from the top of the screen.
void preferXWayland();

}  // namespace app
