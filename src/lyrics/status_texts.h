#pragma once

#include <string>
#include <string_view>

// Every text the status bar shows, in one place (GBK bytes; defined in the .cpp because headers
// of this folder hold no non-ASCII literals). The colons differ on purpose: the window's
// design, the play clock, the import and the other writers each use their own, and the bytes
// count for the part widths.
namespace lyrics::status_texts {

// Which colon ends a label: ASCII ":" or full-width "：" (A3 BA).
enum class Colon { Ascii, FullWidth };

// The label of part `part` ("播放时间", "播放进度", "歌手", "歌曲", "行", "字") and `colon`.
const std::string& label(int part, Colon colon);
// The text of part `part` from start-up on, as the window's design has it: "播放时间:[00:00.00]",
// "播放进度：00%", "歌手：", "歌曲：", "行：", "字：".
const std::string& startText(int part);
// What a new lyrics file writes into part `part`: the start texts, full-width colons throughout.
const std::string& newFileText(int part);
// Part 0 as the play clock writes it: "播放时间:" and `tag`.
std::string playTimeText(std::string_view tag);
// Part 1 as a progress report writes it: "播放进度:", two digits and "%".
std::string progressText(int percent);

}  // namespace lyrics::status_texts
