#pragma once

#include <string>

#include "platform/prompter.h"

namespace files {

// Tells the user that the file at `path` (GBK) could not be written.
void reportWriteFailure(platform::Prompter& prompter, const std::string& path);

// Replaces the file at `path` with `bytes` (temporary file, flush, rename); on failure the
// user is told and false comes back, and whatever stood at `path` is left as it was.
bool writeUserFile(platform::Prompter& prompter, const std::string& path, const std::string& bytes);

}  // namespace files
