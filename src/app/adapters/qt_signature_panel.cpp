#include "app/adapters/qt_signature_panel.h"

#include <QPlainTextEdit>

#include "app/adapters/gbk.h"

namespace app {

void QtSignaturePanel::move(int left, int top) {
  m_panel->move(left, top);
  // Parked panels wait outside the window; raised, the shown panel is drawn above the list.
  m_panel->raise();
}

void QtSignaturePanel::focusEditBox() { m_editBox->setFocus(Qt::OtherFocusReason); }

std::string QtSignaturePanel::text() const { return toGbk(m_editBox->toPlainText()); }

void QtSignaturePanel::setText(const std::string& text) {
  m_editBox->setPlainText(toQString(text));
}

}  // namespace app
