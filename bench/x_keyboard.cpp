#include "x_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace bench {

struct XKeyboard::Connection {
  Display* display = nullptr;
  unsigned int f5 = 0;
};

XKeyboard::XKeyboard() : m_connection(std::make_unique<Connection>()) {
  m_connection->display = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (m_connection->display != nullptr &&
      XTestQueryExtension(m_connection->display, &event, &error, &major, &minor)) {
    m_connection->f5 = XKeysymToKeycode(m_connection->display, XK_F5);
  }
}

XKeyboard::~XKeyboard() {
  if (m_connection->display != nullptr) XCloseDisplay(m_connection->display);
}

bool XKeyboard::usable() const { return m_connection->f5 != 0; }

void XKeyboard::pressF5() {
  XTestFakeKeyEvent(m_connection->display, m_connection->f5, True, CurrentTime);
  XTestFakeKeyEvent(m_connection->display, m_connection->f5, False, CurrentTime);
  XFlush(m_connection->display);
}

}  // namespace bench
