#pragma once

#include <QColor>
#include <QDialog>

#include "platform/font_chooser.h"

class QFontDialog;
class QPushButton;

namespace app {

// The font dialog `通用对话框_更改字体`: Qt's font chooser (face, style, size, underline and
// strikeout) with a text colour beside it, and 确定 and 取消. No name and size 0 show the face and
// size the application draws with.
class FontDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FontDialog(QWidget* parent = nullptr);

  // Shows `values`.
  void setValues(const platform::FontChooser::Values& values);
  // What the dialog shows now.
  platform::FontChooser::Values values() const;
  // The embedded font chooser, for tests that pick a face as a user would.
  QFontDialog* fontChooser() const { return m_fontChooser; }

 private:
  // Lets the user pick the text colour in the platform's colour dialog.
  void chooseColour();
  // Sets the colour shown on the colour button.
  void showColour(const QColor& colour);

  QFontDialog* m_fontChooser;
  QPushButton* m_colourButton;
  QColor m_colour;
};

}  // namespace app
