#include "playback/song_file_name.h"

#include "lyrics/text_rules.h"
#include "playback/playback_texts.h"

namespace playback {

namespace {
constexpr std::size_t kExtensionBytes = 4;

std::string withoutExtension(std::string_view name) {
  return std::string(name.size() <= kExtensionBytes
                         ? std::string_view{}
                         : name.substr(0, name.size() - kExtensionBytes));
}
}  // namespace

std::string fileNameOfPath(std::string_view path) {
  const auto pieces = lyrics::splitBytes(path, "/");
  return pieces.empty() ? std::string() : pieces.back();
}

std::optional<std::string> audioFormatOf(std::string_view fileName) {
  const std::string ending = lyrics::asciiLower(lyrics::lastBytes(fileName, kExtensionBytes));
  if (ending == ".mp3") return texts::mp3Format();
  if (ending == ".wma") return texts::wmaFormat();
  return std::nullopt;
}

SongNameParts splitSongName(std::string_view fileName) {
  SongNameParts parts;
  const auto dash = lyrics::findBytes(fileName, "-");
  // A "-" as the very last byte adds no piece, so the name counts as having no "-".
  if (!dash || *dash + 1 == fileName.size()) {
    parts.title = withoutExtension(dash ? fileName.substr(0, *dash) : fileName);
    return parts;
  }
  parts.singer = std::string(fileName.substr(0, *dash));
  parts.title = withoutExtension(fileName.substr(*dash + 1));
  return parts;
}

}  // namespace playback
