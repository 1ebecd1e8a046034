#include "app/window/font_style_sheet.h"

#include "app/adapters/gbk.h"

namespace app {

namespace {

// A face name as a quoted style-sheet string; the sheet parser takes "\" as an escape.
QString quoted(const QString& name) {
  QString text;
  text.reserve(name.size() + 2);
  text += QLatin1Char('"');
  for (const QChar c : name) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
      text += QLatin1Char('\\');
    } else if (c.category() == QChar::Other_Control) {
      // A line break would end the string; no face has one in its name.
      continue;
    }
    text += c;
  }
  text += QLatin1Char('"');
  return text;
}

}  // namespace

QString fontStyleSheet(const QString& selector, const shell::FontSpec& font,
                       platform::RgbColour colour) {
  QString rules = selector + QStringLiteral(" {");
  if (!font.name.empty())
    rules += QStringLiteral(" font-family: ") + quoted(toQString(font.name)) + QLatin1Char(';');
  if (font.size > 0) rules += QStringLiteral(" font-size: %1pt;").arg(font.size);
  rules +=
      font.bold ? QStringLiteral(" font-weight: bold;") : QStringLiteral(" font-weight: normal;");
  rules +=
      font.italic ? QStringLiteral(" font-style: italic;") : QStringLiteral(" font-style: normal;");
  QString decoration;
  if (font.underline) decoration += QStringLiteral(" underline");
  if (font.strikeout) decoration += QStringLiteral(" line-through");
  rules += QStringLiteral(" text-decoration:") +
           (decoration.isEmpty() ? QStringLiteral(" none") : decoration) + QLatin1Char(';');
  rules += QStringLiteral(" }\n");
  // Disabled too: the preview box is disabled whenever no test play runs, and its text is there
  // to be read, not to look greyed out.
  rules += selector + QStringLiteral(", %1:disabled { color: rgb(%2, %3, %4); }\n")
                          .arg(selector)
                          .arg(colour.red)
                          .arg(colour.green)
                          .arg(colour.blue);
  return rules;
}

}  // namespace app
