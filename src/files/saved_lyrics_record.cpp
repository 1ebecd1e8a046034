#include "files/saved_lyrics_record.h"

#include <array>
#include <stdexcept>

namespace files {

namespace {

constexpr std::array<std::string SavedLyricsRecord::*, SavedLyricsRecord::kFieldCount> kMembers = {
    &SavedLyricsRecord::singer, &SavedLyricsRecord::song,     &SavedLyricsRecord::album,
    &SavedLyricsRecord::editor, &SavedLyricsRecord::songPath, &SavedLyricsRecord::savedAt,
    &SavedLyricsRecord::lyrics};

}  // namespace

const std::string& SavedLyricsRecord::field(int field) const {
  static const std::string empty;
  if (field < 0 || field >= kFieldCount) return empty;
  return this->*kMembers[static_cast<std::size_t>(field)];
}

std::string& SavedLyricsRecord::field(int field) {
  if (field < 0 || field >= kFieldCount) throw std::out_of_range("saved lyrics field");
  return this->*kMembers[static_cast<std::size_t>(field)];
}

}  // namespace files
