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

// The panels' face: 楷体 where it is installed, otherwise the first Kai face present, and a CJK
// face only where there is no Kai face at all.
QString panelFace();

// The panels' font: `panelFace()` at a character height of `pixelHeight` pixels.
QFont panelFont(int pixelHeight);

// A panel's own style sheet that draws it in `font`: the skin names one face for every widget,
// and only a widget's own sheet wins over it.
QString panelStyleSheet(const QFont& font);

// `text` (CR LF lines) as rich text for a panel label in `font`, one line every `pixelHeight`
// pixels: a Kai face's lines are as tall as its characters, while the CJK faces that stand in
// for it add a third again, which would push the end of the text out of the panel.
QString panelRichText(const QString& text, const QFont& font, int pixelHeight);

}  // namespace app
