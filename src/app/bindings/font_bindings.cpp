#include "app/bindings/font_bindings.h"

#include <QPlainTextEdit>

#include "app/window/lyrics_list_view.h"
#include "app/window/main_window.h"

namespace app {

FontBindings::FontBindings(MainWindow& window, const Services& services,
                           shell::CommandRegistry& registry)
    : m_lyricsList(window.lyricsView()),
      m_previewBox(window.previewBox()),
      m_changer(services.fontChooser, m_lyricsList, m_previewBox) {
  registry.add("ChangeFont", [this] { m_changer.changeFont(); });
}

}  // namespace app
