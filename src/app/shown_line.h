#pragma once

#include <QString>
#include <string_view>

namespace app {

// Characters of a lyric line that the list hands to Qt for painting and tooltips: far more than
// any screen shows in one row, and little enough that a paint stays cheap however long the line.
inline constexpr int kShownLineCharacters = 4096;

// The start of `line` (GB18030 bytes) as the lyrics list shows it: the whole line when it has
// at most kShownLineCharacters characters, otherwise that many followed by "…". The cut falls
// between two characters, never inside a two- or four-byte form.
QString shownLineText(std::string_view line);

}  // namespace app
