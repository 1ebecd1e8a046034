#pragma once

#include <string>

namespace files {

// Brings the saved-lyrics records that an older version of the editor kept in another folder
// into the library of the program directory, once. Older versions took a copy of the program
// in ~/.local/bin for an installed one from its second start on (the association the editor
// writes there looked like an installed prefix) and so kept its library in the per-user data
// folder. The old files stay where they are; a note beside the library records the import.
class StrandedLibraryImport {
 public:
  // Name of the note written beside the library once the records are in (GBK).
  static std::string noteFileName();

  // Appends to the library in `programDirectory` every record of the library in
  // `strandedDirectory` (both GBK paths) that it does not already hold, and writes the note.
  // A personal signature kept in the other folder is copied too when this folder has none.
  // Does nothing when the note is already there or the other library is empty. Returns the
  // number of records added, or -1 when the library could not be written (the import is then
  // tried again at the next start; records already in are not added twice). Shows no message.
  static int importOnce(const std::string& programDirectory, const std::string& strandedDirectory);
};

}  // namespace files
