#pragma once

#include <string>

#include "lyrics/signature_panel_view.h"

class QPlainTextEdit;
class QWidget;

namespace app {

// The signature panel `分组框_配置个性签名` with its edit box `编辑框_个性签名`.
class QtSignaturePanel : public lyrics::SignaturePanelView {
 public:
  QtSignaturePanel(QWidget* panel, QPlainTextEdit* editBox) : m_panel(panel), m_editBox(editBox) {}

  void move(int left, int top) override;
  void focusEditBox() override;
  std::string text() const override;
  void setText(const std::string& text) override;

 private:
  QWidget* m_panel;
  QPlainTextEdit* m_editBox;
};

}  // namespace app
