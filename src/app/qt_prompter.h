#pragma once

#include "lyrics/prompter.h"

class QWidget;

namespace app {

// Message boxes over QMessageBox, modal to the whole program. A box without a title gets
// "信息：".
class QtPrompter : public lyrics::Prompter {
 public:
  // Boxes are centred over `parent` (may be null).
  explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

  void inform(const std::string& text, const std::string& title, lyrics::MessageIcon icon) override;
  bool ask(const std::string& text, const std::string& title, lyrics::MessageIcon icon) override;

 private:
  QWidget* m_parent;
};

}  // namespace app
