#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "shell/font_target_view.h"

namespace app {

// A widget restyled by the font dialog (the lyrics list, the preview box), through rules of its
// own style sheet, so that the skin, which names a face and a colour for every widget, cannot
// hide the choice. Only the widget itself is matched: its scroll bars keep the skin's look.
class QtFontTarget : public shell::FontTargetView {
 public:
  // `widget` must have an objectName; the sheet it has now stays in front of the font rules.
  explicit QtFontTarget(QWidget* widget);

  void setTextFont(const shell::FontSpec& font, platform::RgbColour colour) override;

 private:
  QPointer<QWidget> m_widget;
  QString m_ownSheet;
};

}  // namespace app
