#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter.h"

namespace app {

// Message boxes over QMessageBox, modal to the whole program. A box without a title gets
// "信息：".
class QtPrompter : public platform::Prompter {
 public:
  // Boxes are centred over `parent`; without one, over the window that is active then.
  explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

  void inform(const std::string& text, const std::string& title,
              platform::MessageIcon icon) override;
  bool ask(const std::string& text, const std::string& title, platform::MessageIcon icon) override;

 private:
  // A box opened after the window has gone has no parent.
  QPointer<QWidget> m_parent;
};

}  // namespace app
