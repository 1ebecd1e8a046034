#pragma once

#include <QString>

namespace app {

// The skin drawn at start-up.
constexpr int kStartupSkin = 14;

// The style sheet of skin `number` (1..33) from the built-in skins; empty for any other
// number and for a skin without a sheet.
QString skinStyleSheet(int number);

// Makes sure the skin library is in place. Skins are style sheets built into the program, so
// there is no library file and nothing is written.
void ensureSkinLibrary();

// Draws every window of the program with skin `number`; a number without a skin gives the
// platform's own look.
void applySkin(int number);

}  // namespace app
