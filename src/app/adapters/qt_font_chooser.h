#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/font_chooser.h"

namespace app {

// The font dialog `通用对话框_更改字体` shown modally over a window.
class QtFontChooser : public platform::FontChooser {
 public:
  // The dialog is modal over `parent`; without one, over the window that is active then.
  explicit QtFontChooser(QWidget* parent = nullptr) : m_parent(parent) {}

  std::optional<Values> choose(const Values& current) override;

 private:
  // A dialog opened after the window has gone has no parent.
  QPointer<QWidget> m_parent;
};

}  // namespace app
