#include "shell/font_changer.h"

#include <optional>
#include <utility>

namespace shell {

FontChanger::FontChanger(platform::FontChooser& chooser, FontTargetView& lyricsList,
                         FontTargetView& previewBox)
    : m_chooser(chooser), m_lyricsList(lyricsList), m_previewBox(previewBox) {}

void FontChanger::changeFont() {
  if (std::optional<platform::FontChooser::Values> chosen = m_chooser.choose(m_values)) {
    m_values = std::move(*chosen);
  }
  // A cancelled dialog still restyles: the controls get the values it was opened with.
  const FontSpec font = fontSpec(m_values);
  m_lyricsList.setTextFont(font, m_values.colour);
  m_previewBox.setTextFont(font, m_values.colour);
}

FontSpec FontChanger::fontSpec(const platform::FontChooser::Values& values) {
  FontSpec font;
  font.angle = 0;
  font.bold = values.weight >= kBoldWeight;
  font.italic = values.italic;
  font.underline = values.underline;
  font.strikeout = values.strikeout;
  font.size = values.size;
  font.name = values.name;
  return font;
}

}  // namespace shell
