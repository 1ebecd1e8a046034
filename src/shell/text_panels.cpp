#include "shell/text_panels.h"

namespace shell {

TextPanels::TextPanels(TextPanelView& quickStart, TextPanelView& about)
    : m_quickStart(quickStart), m_about(about) {}

void TextPanels::showQuickStart() {
  m_quickStart.move(0, m_quickStart.top());
  m_quickStart.raise();
}

void TextPanels::hideQuickStart() { m_quickStart.move(kQuickStartAwayLeft, m_quickStart.top()); }

void TextPanels::showAbout() {
  m_about.move(0, 0);
  m_about.raise();
}

void TextPanels::hideAbout() { m_about.move(kAboutAwayLeft, m_about.top()); }

}  // namespace shell
