#pragma once

#include <string>
#include <string_view>

#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/prompter.h"

namespace lyrics {

// The commands that work on whole lines: moving, deleting, clearing, cleaning and starting a
// new file.
class LineCommands {
 public:
  LineCommands(LyricsList& list, HeaderFields& headers, StatusBar& status,
               platform::Prompter& prompter);

  // Swaps the selected line with the one above; the line that moved down is selected.
  void moveLineUp();
  // Swaps the selected line with the one below; the moved line stays selected.
  void moveLineDown();
  // Deletes the selected line and selects the one that followed it.
  void deleteSelectedLine();
  // Removes all lines.
  void clearLyrics();
  // After a Yes, empties the lyrics, the header boxes and the status texts and returns true; the
  // caller then empties the song list.
  bool newLyricsFile();
  // Removes ASCII and full-width spaces from every line; no line is selected afterwards.
  void deleteAllSpaces();
  // Removes empty lines and 7- or 10-byte lines that begin with "[" (a lone tag).
  void deleteEmptyLines();

 private:
  LyricsList& m_list;
  HeaderFields& m_headers;
  StatusBar& m_status;
  platform::Prompter& m_prompter;
};

// `line` without ASCII spaces and without whole full-width spaces (A1 A1); other bytes stay.
std::string withoutSpaces(std::string_view line);

}  // namespace lyrics
