#pragma once

#include <string>

namespace files {

// One entry of the saved-lyrics library: the lyrics of a song with its header fields, the
// song's path and when it was saved (GBK bytes, any length, empty allowed).
struct SavedLyricsRecord {
  // Field numbers: the column order of the library list and of its seven store files.
  enum Field { Singer = 0, Song, Album, Editor, SongPath, SavedAt, Lyrics };
  static constexpr int kFieldCount = 7;

  std::string singer;
  std::string song;
  std::string album;
  std::string editor;
  std::string songPath;
  std::string savedAt;
  // The lines joined by JoinLyricsText, every line ending in CR LF.
  std::string lyrics;

  // Field `field` (0-6); an empty text for any other number.
  const std::string& field(int field) const;
  // Writable field `field`; throws std::out_of_range for a number outside 0-6.
  std::string& field(int field);

  bool operator==(const SavedLyricsRecord&) const = default;
};

}  // namespace files
