// LeadingTagLength and the double-byte search: a match is the first one that starts on a
// character, never one on the second byte of a double-byte character, and a tag is recognised
// exactly when the first such "]" is its 7th or 10th byte.
#include <algorithm>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "lyrics/text_rules.h"

namespace {

// The first character start at which `needle` stands, found by trying every start.
std::optional<std::size_t> firstMatch(std::string_view text, std::string_view needle) {
  std::optional<std::size_t> found;
  fuzzing::forEachCharacterStart(text, [&](std::size_t pos) {
    if (!found && text.substr(pos, needle.size()) == needle) found = pos;
  });
  return found;
}

void checkSearch(std::string_view text, std::string_view needle) {
  const auto found = lyrics::findBytes(text, needle);
  if (needle.empty()) {
    FUZZ_CHECK(!found);
    return;
  }
  FUZZ_CHECK(found == firstMatch(text, needle));
  if (found) FUZZ_CHECK(text.substr(*found, needle.size()) == needle);
  // Nothing is found that a plain byte search would not find too.
  if (text.find(needle) == std::string_view::npos) FUZZ_CHECK(!found);
}

void checkTag(std::string_view line) {
  const std::size_t length = lyrics::leadingTagLength(line);
  FUZZ_CHECK(length == 0 || length == lyrics::kShortTagLength || length == lyrics::kFullTagLength);
  const auto close = firstMatch(line, "]");
  const bool opens = !line.empty() && line.front() == '[';
  const bool full = opens && close == lyrics::kFullTagLength - 1;
  const bool brief = opens && close == lyrics::kShortTagLength - 1;
  FUZZ_CHECK(length == (full ? lyrics::kFullTagLength : brief ? lyrics::kShortTagLength : 0));
  // The tag is whole characters, so what follows it starts on a character.
  if (length > 0) FUZZ_CHECK(line[length - 1] == ']' && length <= line.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte says how many of the following bytes form the needle (0-7).
  const std::string_view input = fuzzing::bytesOf(data, size);
  const std::size_t needleLength = std::min<std::size_t>(input[0] & 7, size - 1);
  const std::string_view needle = input.substr(1, needleLength);
  const std::string_view text = input.substr(1 + needleLength);

  checkSearch(text, needle);
  checkSearch(text, "]");
  checkSearch(text, "\r\n");
  checkTag(text);
  // A line that opens with "[" reaches the bracket search far more often.
  checkTag("[" + std::string(text));
  // Character widths cover the text exactly once.
  std::size_t covered = 0;
  fuzzing::forEachCharacterStart(text, [&](std::size_t pos) {
    FUZZ_CHECK(pos == covered);
    covered += lyrics::charWidthAt(text, pos);
  });
  FUZZ_CHECK(covered == text.size());
  return 0;
}
