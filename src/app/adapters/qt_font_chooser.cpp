#include "app/adapters/qt_font_chooser.h"

#include <QApplication>

#include "app/window/font_dialog.h"

namespace app {

std::optional<platform::FontChooser::Values> QtFontChooser::choose(const Values& current) {
  FontDialog dialog(m_parent ? m_parent.data() : QApplication::activeWindow());
  dialog.setValues(current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.values();
}

}  // namespace app
