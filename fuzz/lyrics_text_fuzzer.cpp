// SplitLyricsText and JoinLyricsText, and the separator split under them: no line holds a line
// break, no cut falls inside a double-byte character, and text and lines survive a round trip.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "lyrics/text_rules.h"

namespace {

using fuzzing::endsOnWholeCharacter;

bool holdsSeparator(std::string_view piece, std::string_view separator) {
  return lyrics::findBytes(piece, separator).has_value();
}

void checkSplit(std::string_view text, std::string_view separator) {
  const std::vector<std::string> pieces = lyrics::splitBytes(text, separator);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    FUZZ_CHECK(!holdsSeparator(pieces[i], separator));
    // Only the very end of the text may cut a character in two.
    if (i + 1 < pieces.size()) FUZZ_CHECK(endsOnWholeCharacter(pieces[i]));
    joined += pieces[i];
    joined += separator;
  }
  // Putting the separators back gives the text, with one more at its end when it had none.
  std::string withSeparator(text);
  withSeparator += separator;
  FUZZ_CHECK(joined == text || (!text.empty() && joined == withSeparator));
  FUZZ_CHECK(pieces.empty() == text.empty());
  // ...and reads back as the same pieces, unless the text ends on a lone lead byte, which
  // pairs with the separator's first byte, or a piece ends in "=", which joins a "======"
  // after it (the saved-lyrics store escapes such values).
  bool endsInEquals = false;
  for (const auto& piece : pieces) endsInEquals = endsInEquals || piece.ends_with('=');
  if (endsOnWholeCharacter(text) && !(separator == "======" && endsInEquals)) {
    FUZZ_CHECK(lyrics::splitBytes(joined, separator) == pieces);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view text = fuzzing::bytesOf(data, size);

  checkSplit(text, lyrics::kLineBreak);
  checkSplit(text, "======");
  checkSplit(text, "/");
  FUZZ_CHECK(lyrics::splitLyricsText(text) == lyrics::splitBytes(text, lyrics::kLineBreak));

  // Lines taken from the input at its zero bytes: joined and split again, every line that holds
  // no break and ends on a whole character comes back as it was, empty lines included.
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const std::size_t zero = text.find('\0', start);
    lines.emplace_back(text.substr(start, zero == std::string_view::npos ? zero : zero - start));
    if (zero == std::string_view::npos) break;
    start = zero + 1;
  }
  bool clean = true;
  std::size_t length = 0;
  for (const auto& line : lines) {
    clean = clean && !holdsSeparator(line, lyrics::kLineBreak) && endsOnWholeCharacter(line);
    length += line.size() + 2;
  }
  const std::string joined = lyrics::joinLyricsText(lines);
  FUZZ_CHECK(joined.size() == length);
  FUZZ_CHECK(joined.ends_with(lyrics::kLineBreak));
  if (clean) FUZZ_CHECK(lyrics::splitLyricsText(joined) == lines);
  return 0;
}
