#pragma once

#include <string>

#include "lyrics/file_io.h"
#include "lyrics/prompter.h"

namespace lyrics {

// Tells the user that the file at `path` (GBK) could not be written, and why when it is known
// (a full disk, a read-only folder); the file that stood there is unchanged.
void reportWriteFailure(Prompter& prompter, const std::string& path,
                        WriteStatus why = WriteStatus::Failed);

}  // namespace lyrics
