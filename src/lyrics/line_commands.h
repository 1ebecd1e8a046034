#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/prompter.h"

namespace lyrics {

// The commands that work on whole lines: moving, deleting, clearing, cleaning, starting a new
// file and opening the lyrics in the preview box.
class LineCommands {
 public:
  // `showPreview` receives the whole lyrics text for the preview box.
  LineCommands(LyricsList& list, HeaderFields& headers, StatusBar& status,
               platform::Prompter& prompter, std::function<void(const std::string&)> showPreview);

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
  // Hands the joined lyrics text to the preview box.
  void previewLyrics();

 private:
  LyricsList& m_list;
  HeaderFields& m_headers;
  StatusBar& m_status;
  platform::Prompter& m_prompter;
  std::function<void(const std::string&)> m_showPreview;
};

// `line` without ASCII spaces and without whole full-width spaces (A1 A1); other bytes stay.
std::string withoutSpaces(std::string_view line);

}  // namespace lyrics
