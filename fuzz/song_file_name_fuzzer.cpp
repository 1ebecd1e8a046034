// The song file-name split: the name is the last piece of the path, the format comes from the
// last four bytes, and singer and title are cut at the first "-" that starts a character.
#include <string>

#include "fuzz_check.h"
#include "lyrics/text_rules.h"
#include "playback/song_file_name.h"

namespace {

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view path = fuzzing::bytesOf(data, size);

  const std::string name = playback::fileNameOfPath(path);
  FUZZ_CHECK(!lyrics::findBytes(name, "/"));
  // The name is the path's end, or the piece before a closing "/".
  FUZZ_CHECK(path.ends_with(name) || path.ends_with(name + "/"));
  if (!lyrics::findBytes(path, "/")) FUZZ_CHECK(name == path);

  const std::string_view last4 = path.substr(path.size() < 4 ? 0 : path.size() - 4);
  const auto format = playback::audioFormatOf(path);
  const bool mp3 = sameIgnoringAsciiCase(last4, ".mp3");
  const bool wma = sameIgnoringAsciiCase(last4, ".wma");
  FUZZ_CHECK(format.has_value() == (mp3 || wma));

  const playback::SongNameParts parts = playback::splitSongName(path);
  const auto dash = lyrics::findBytes(path, "-");
  std::string_view titleSource = path;
  if (parts.singer) {
    // The singer ends at the first "-" that starts a character, and something follows it.
    FUZZ_CHECK(dash && *dash == parts.singer->size() && *dash + 1 < path.size());
    FUZZ_CHECK(path.starts_with(*parts.singer + "-"));
    titleSource = path.substr(*dash + 1);
  } else {
    FUZZ_CHECK(!dash || *dash + 1 == path.size());
    if (dash) titleSource = path.substr(0, *dash);
  }
  // The title is the rest minus its last four bytes, nothing trimmed.
  if (titleSource.size() <= 4) {
    FUZZ_CHECK(parts.title.empty());
  } else {
    FUZZ_CHECK(parts.title.size() + 4 == titleSource.size() &&
               titleSource.starts_with(parts.title));
  }
  return 0;
}
