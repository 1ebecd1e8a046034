#include "app/adapters/qt_text_panel.h"

#include <QWidget>

namespace app {

int QtTextPanel::top() const { return m_panel->y(); }

void QtTextPanel::move(int left, int top) { m_panel->move(left, top); }

void QtTextPanel::raise() { m_panel->raise(); }

}  // namespace app
