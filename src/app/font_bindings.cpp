#include "app/font_bindings.h"

#include <QAction>
#include <QPlainTextEdit>

#include "app/lyrics_list_view.h"
#include "app/main_menus.h"
#include "app/main_window.h"

namespace app {

FontBindings::FontBindings(MainWindow& window, platform::FontChooser& chooser)
    : m_lyricsList(window.lyricsView()),
      m_previewBox(window.previewBox()),
      m_changer(chooser, m_lyricsList, m_previewBox) {
  connect(window.menus().action(QStringLiteral("ChangeFont")), &QAction::triggered, this,
          [this] { m_changer.changeFont(); });
}

}  // namespace app
