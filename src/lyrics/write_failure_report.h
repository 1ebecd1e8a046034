#pragma once

#include <string>

#include "platform/file_io.h"
#include "platform/prompter.h"

namespace lyrics {

// Tells the user that the file at `path` (GBK) could not be written, and why when it is known
// (a full disk, a read-only folder); the file that stood there is unchanged.
void reportWriteFailure(platform::Prompter& prompter, const std::string& path,
                        platform::WriteStatus why = platform::WriteStatus::Failed);

}  // namespace lyrics
