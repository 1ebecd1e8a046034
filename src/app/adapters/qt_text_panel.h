#pragma once

#include "shell/text_panel_view.h"

class QWidget;

namespace app {

// A panel widget of the main window's client area as the text panels see it.
class QtTextPanel : public shell::TextPanelView {
 public:
  explicit QtTextPanel(QWidget* panel) : m_panel(panel) {}

  int top() const override;
  void move(int left, int top) override;
  void raise() override;

 private:
  QWidget* m_panel;
};

}  // namespace app
