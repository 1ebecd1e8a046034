#pragma once

#include <QString>
#include <string_view>

namespace app {

// Characters of a lyric line that the list hands to Qt for painting: far more than any screen
// shows in one row, and little enough that a paint stays cheap however long the line.
inline constexpr int kShownLineCharacters = 4096;
// Characters of a lyric line in its tooltip, which wraps them: a dozen rows, not a screenful.
inline constexpr int kTooltipLineCharacters = 512;

// The start of `line` (GB18030 bytes) as the lyrics list shows it: the whole line when it has
// at most `maxCharacters` characters, otherwise that many followed by "…". The cut falls
// between two characters, never inside a two- or four-byte form.
QString shownLineText(std::string_view line, int maxCharacters = kShownLineCharacters);

}  // namespace app
