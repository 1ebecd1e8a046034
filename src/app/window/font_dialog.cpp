#include "app/window/font_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>
#include <cstdlib>

#include "app/adapters/gbk.h"

namespace app {

namespace {

// The style of `family` nearest to `weight` and `italic`: the slant first, then the weight, then
// the shortest name, so that "Book" wins over "Condensed" of the same weight.
QString closestStyle(const QString& family, int weight, bool italic) {
  QString closest;
  long best = 0;
  for (const QString& style : QFontDatabase::styles(family)) {
    // An oblique style is slanted too, though the database calls only an italic one italic.
    const QFont face = QFontDatabase::font(family, style, 12);
    const bool slanted = face.style() != QFont::StyleNormal;
    const long distance = (slanted != italic ? 1'000'000L : 0L) +
                          std::abs(face.weight() - weight) * 100L + style.size();
    if (closest.isEmpty() || distance < best) {
      closest = style;
      best = distance;
    }
  }
  return closest;
}

}  // namespace

FontDialog::FontDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("通用对话框_更改字体"));
  setWindowTitle(QStringLiteral("字体"));
  setModal(true);

  // Qt's own chooser, embedded as a widget: it has face, style, size and the two effects but
  // neither buttons of ours nor a colour, which sits beside it.
  m_fontChooser = new QFontDialog(this);
  m_fontChooser->setObjectName(QStringLiteral("fontChooser"));
  m_fontChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  m_fontChooser->setWindowFlags(Qt::Widget);
  m_fontChooser->setSizeGripEnabled(false);

  m_colourButton = new QPushButton(QStringLiteral("颜色(&C)..."), this);
  m_colourButton->setObjectName(QStringLiteral("fontColour"));
  connect(m_colourButton, &QPushButton::clicked, this, &FontDialog::chooseColour);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_colourButton);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_fontChooser, 1);
  layout->addLayout(bottom);

  setValues({});
}

void FontDialog::setValues(const platform::FontChooser::Values& values) {
  // The face and size the application draws a widget in, its skin included.
  ensurePolished();
  const QFontInfo drawn(font());
  QFont shown(values.name.empty() ? drawn.family() : toQString(values.name));
  shown.setPointSize(values.size > 0 ? values.size : drawn.pointSize());
  shown.setWeight(static_cast<QFont::Weight>(values.weight));
  shown.setItalic(values.italic);
  shown.setUnderline(values.underline);
  shown.setStrikeOut(values.strikeout);
  // The chooser looks the style up by its name and falls back to the face's first style when
  // the name it derives ("Normal", "Italic") is not one the face has: DejaVu Sans calls its
  // regular style "Book", so a regular font would open as whatever style sorts first, bold
  // perhaps. Name the face's own style that comes closest instead.
  const QString style = closestStyle(shown.family(), values.weight, values.italic);
  if (!style.isEmpty()) shown.setStyleName(style);
  m_fontChooser->setCurrentFont(shown);
  showColour(QColor(values.colour.red, values.colour.green, values.colour.blue));
}

platform::FontChooser::Values FontDialog::values() const {
  const QFont chosen = m_fontChooser->currentFont();
  platform::FontChooser::Values values;
  values.name = toGbk(chosen.family());
  values.size = chosen.pointSize() > 0 ? chosen.pointSize() : 0;
  // The weight as the chooser's style gives it; what counts as bold is decided by ChangeFont.
  values.weight = chosen.weight();
  values.italic = chosen.italic();
  values.underline = chosen.underline();
  values.strikeout = chosen.strikeOut();
  values.colour = {static_cast<std::uint8_t>(m_colour.red()),
                   static_cast<std::uint8_t>(m_colour.green()),
                   static_cast<std::uint8_t>(m_colour.blue())};
  return values;
}

void FontDialog::chooseColour() {
  const QColor chosen = QColorDialog::getColor(m_colour, this, QStringLiteral("颜色"));
  if (chosen.isValid()) showColour(chosen);
}

void FontDialog::showColour(const QColor& colour) {
  m_colour = colour;
  QPixmap swatch(16, 16);
  swatch.fill(m_colour);
  m_colourButton->setIcon(swatch);
}

}  // namespace app
