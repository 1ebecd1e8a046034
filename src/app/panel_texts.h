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

}  // namespace app
