#include "app/font_bindings.h"

#include <QPlainTextEdit>

#include "app/lyrics_list_view.h"
#include "app/main_window.h"

namespace app {

FontBindings::FontBindings(MainWindow& window, shell::CommandRegistry& commands,
                           platform::FontChooser& chooser)
    : m_lyricsList(window.lyricsView()),
      m_previewBox(window.previewBox()),
      m_changer(chooser, m_lyricsList, m_previewBox) {
  commands.add("ChangeFont", [this] { m_changer.changeFont(); });
}

}  // namespace app
