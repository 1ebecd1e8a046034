#include "app/qt_preview_box.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "app/gbk.h"

namespace app {

int QtPreviewBox::top() const { return m_box->y(); }

void QtPreviewBox::move(int left, int top) { m_box->move(left, top); }

bool QtPreviewBox::isEnabled() const { return m_box->isEnabled(); }

void QtPreviewBox::setEnabled(bool enabled) { m_box->setEnabled(enabled); }

std::string QtPreviewBox::text() const {
  // The raw text keeps characters such as U+00A0 that toPlainText() would turn into spaces;
  // only the paragraph and line separators of the document become CR LF.
  QString text = m_box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return toGbk(text);
}

void QtPreviewBox::setText(const std::string& text) {
  // The document keeps its own paragraph breaks; CR LF becomes one break, not two.
  QString plain = toQString(text);
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_box->setPlainText(plain);
}

}  // namespace app
