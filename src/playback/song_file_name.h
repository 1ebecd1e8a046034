#pragma once

#include <optional>
#include <string>
#include <string_view>

// Rules that turn a song file's path into its name, format, title and singer (GBK bytes;
// every split is double-byte aware).
namespace playback {

// Title and singer taken from a song's file name.
struct SongNameParts {
  std::string title;
  // Set only when the name has the form singer-title.
  std::optional<std::string> singer;
};

// The last piece of `path` split at "/" (a trailing "\r\n" of a multi-file drop stays in it).
std::string fileNameOfPath(std::string_view path);

// "mp3格式" or "wma格式" from the last 4 bytes of `fileName` (ASCII case ignored); nothing
// for any other ending.
std::optional<std::string> audioFormatOf(std::string_view fileName);

// No "-": the name minus its last 4 bytes is the title. One or more "-": the first piece is
// the singer and everything after the first "-", minus the last 4 bytes, is the title, so
// "A-B-C.mp3" gives singer "A" and title "B-C". Nothing is trimmed.
SongNameParts splitSongName(std::string_view fileName);

}  // namespace playback
