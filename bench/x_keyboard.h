#pragma once

#include <memory>

namespace bench {

// Presses F5 on the X display as a keyboard does, through the XTest extension: the server
// stamps the key with its own time and sends it to the window with the keyboard focus, and the
// program takes it from its connection when it comes to it, as a real key. Opens a connection
// of its own, so it may press from any one thread.
class XKeyboard {
 public:
  XKeyboard();
  ~XKeyboard();
  XKeyboard(const XKeyboard&) = delete;
  XKeyboard& operator=(const XKeyboard&) = delete;

  // False without an X display that has the XTest extension.
  bool usable() const;
  // Presses and releases F5.
  void pressF5();

 private:
  struct Connection;
  std::unique_ptr<Connection> m_connection;
};

}  // namespace bench
