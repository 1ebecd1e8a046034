#include "app/adapters/qt_font_target.h"

#include "app/window/font_style_sheet.h"

namespace app {

QtFontTarget::QtFontTarget(QWidget* widget) : m_widget(widget), m_ownSheet(widget->styleSheet()) {}

void QtFontTarget::setTextFont(const shell::FontSpec& font, platform::RgbColour colour) {
  if (!m_widget) return;
  // Matched by name, so the rules reach neither the scroll bars nor the viewport.
  const QString selector = QLatin1Char('#') + m_widget->objectName();
  m_widget->setStyleSheet(m_ownSheet + QLatin1Char('\n') + fontStyleSheet(selector, font, colour));
}

}  // namespace app
