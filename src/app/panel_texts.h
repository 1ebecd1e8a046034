#pragma once

#include <QFont>
#include <QString>

namespace app {

// The contact values the About panel shows; they come from the build configuration.
struct ContactTexts {
  QString email;
  QString account;
};

// The quick-start panel's text, lines separated by CR LF.
QString quickStartText();

// The About panel's text with `contact` filled in, lines separated by CR LF.
QString aboutText(const ContactTexts& contact);

// The panels' font: 楷体 where it is installed, otherwise the first Kai or CJK face present,
// at a character height of `pixelHeight` pixels.
QFont panelFont(int pixelHeight);

// `text` (CR LF lines) as rich text for a panel label in `font`, one line every `pixelHeight`
// pixels: a Kai face's lines are as tall as its characters, while the CJK faces that stand in
// for it add a third again, which would push the end of the text out of the panel.
QString panelRichText(const QString& text, const QFont& font, int pixelHeight);

}  // namespace app
