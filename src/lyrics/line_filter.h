#pragma once

#include <functional>
#include <string_view>

#include "lyrics/lyrics_list.h"

namespace lyrics {

// Removes every line for which `keep` is false, examining each line once. The selection stays
// on its line when that line survives and becomes -1 when it is removed, exactly as deleting
// the lines one by one would leave it, but in one pass over the list.
void keepLines(LyricsList& list, const std::function<bool(std::string_view)>& keep);

}  // namespace lyrics
