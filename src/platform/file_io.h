#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/native_path.h"

// Whole-file reads and writes for the pure subsystems. Paths are GBK/GB18030 bytes like every
// other text of the document and reach the file system through nativePath.
namespace platform {

// Outcome of a whole-file read.
enum class ReadStatus { Ok, Missing, Unreadable, TooLarge };

// Bytes of a whole-file read, with why it failed.
struct FileBytes {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
};

// Reads the whole file at `gbkPath` byte for byte, refusing files above `maxBytes`.
FileBytes readFileBytes(const std::string& gbkPath, std::uintmax_t maxBytes = UINTMAX_MAX);

// True when a regular file exists at `gbkPath`.
bool fileExists(const std::string& gbkPath);

// Writes `bytes` to a temporary file beside `gbkPath` and renames it over the target, so a
// crash never leaves a half-written file. False when any step fails.
bool writeFileReplacing(const std::string& gbkPath, const std::string& bytes);

// Replaces several files together: each (GBK path, bytes) pair is written to a temporary file
// first, and the old files are replaced only once all of them are written, so a full disk or a
// read-only folder leaves every old file as it was (a rename that fails after that, say over a
// folder of the same name, stops there). The index of the file that failed, or nothing when
// all were replaced.
std::optional<std::size_t> writeFilesReplacing(
    const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace platform
