#pragma once

#include <string>

#include "platform/prompter.h"

namespace files {

// Replaces the file at `path` with `bytes` (temporary file, flush, rename); on failure the
// user is told why and false comes back, and whatever stood at `path` is left as it was.
bool writeUserFile(platform::Prompter& prompter, const std::string& path, const std::string& bytes);

}  // namespace files
