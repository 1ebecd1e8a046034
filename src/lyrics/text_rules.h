#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/file_form.h"

// Byte-string rules of the lyrics text. Every text here holds GBK/GB18030 bytes: a byte of
// 0x80 or above starts a two-byte character, and no search or split ever matches inside one.
namespace lyrics {

// Length of a full time tag "[mm:ss.xx]" and of a short one "[mm:ss]".
inline constexpr std::size_t kFullTagLength = 10;
inline constexpr std::size_t kShortTagLength = 7;

// Line break of the lyrics text.
inline constexpr std::string_view kLineBreak = "\r\n";

// Width in bytes of the character that starts at `pos` (1 or 2, clipped at the end).
std::size_t charWidthAt(std::string_view text, std::size_t pos);

// First byte position of `needle` in `text`, stepping over double-byte characters whole.
std::optional<std::size_t> findBytes(std::string_view text, std::string_view needle);

// 10 for a leading full tag, 7 for a leading short tag, 0 otherwise (positional rule only).
std::size_t leadingTagLength(std::string_view line);

// Splits `text` at every `separator`, double-byte aware. Empty pieces between separators stay;
// the piece after the last separator is kept only when it is not empty.
std::vector<std::string> splitBytes(std::string_view text, std::string_view separator);

// Cuts a lyrics text into lines at CR LF (a lone CR or LF stays inside its line).
std::vector<std::string> splitLyricsText(std::string_view text);

// The line end a lyrics file's text is cut at: LF when the text holds LF but no CR LF anywhere,
// CR LF otherwise (a bare LF then stays inside its line).
FileForm::LineEnd importedLineEnd(std::string_view text);

// Joins lines into one text, every line followed by CR LF, the last one included.
std::string joinLyricsText(const std::vector<std::string>& lines);

// The text up to (not including) its first zero byte.
std::string_view textUntilZero(std::string_view bytes);

// Lower-cases ASCII A-Z only; double-byte characters are stepped over whole.
std::string asciiLower(std::string_view text);

// The last `count` bytes of `text` (all of it when shorter).
std::string_view lastBytes(std::string_view text, std::size_t count);

// Two-digit field: the last two characters of "0" followed by `value` in decimal.
std::string twoDigitField(long long value);

// A real number as printf "%.13g" writes it.
std::string formatReal(double value);

}  // namespace lyrics
