#include "app/font_bindings.h"

#include <QAction>
#include <QPlainTextEdit>

#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/qt_font_chooser.h"

namespace app {

FontBindings::FontBindings(MainWindow& window, platform::FontChooser& chooser)
    : FontBindings(window, nullptr, &chooser) {}

FontBindings::FontBindings(MainWindow& window)
    : FontBindings(window, std::make_unique<QtFontChooser>(&window), nullptr) {}

FontBindings::FontBindings(MainWindow& window, std::unique_ptr<platform::FontChooser> own,
                           platform::FontChooser* external)
    : m_ownChooser(std::move(own)),
      m_lyricsList(window.lyricsView()),
      m_previewBox(window.previewBox()),
      m_changer(external ? *external : *m_ownChooser, m_lyricsList, m_previewBox) {
  connect(window.menus().action(QStringLiteral("ChangeFont")), &QAction::triggered, this,
          [this] { m_changer.changeFont(); });
}

FontBindings::~FontBindings() = default;

}  // namespace app
