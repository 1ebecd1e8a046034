#pragma once

#include <QObject>

#include "app/adapters/qt_font_target.h"
#include "app/services.h"
#include "shell/command_registry.h"
#include "shell/font_changer.h"

namespace app {

class MainWindow;

// Gives 更改字体 its command ChangeFont, which restyles the lyrics list `列表框_歌词文件编辑` and
// the preview box `编辑框_歌词预览` and nothing else.
class FontBindings : public QObject {
  Q_OBJECT

 public:
  // Registers ChangeFont, which asks through the font dialog of `services`.
  FontBindings(MainWindow& window, const Services& services, shell::CommandRegistry& registry);

  // The ChangeFont command and the dialog's kept values.
  shell::FontChanger& changer() { return m_changer; }

 private:
  QtFontTarget m_lyricsList;
  QtFontTarget m_previewBox;
  shell::FontChanger m_changer;
};

}  // namespace app
