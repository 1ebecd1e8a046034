#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "lyrics/native_path.h"

// Whole-file reads and writes for the pure subsystems. Paths are GBK/GB18030 bytes like every
// other text of the document and reach the file system through nativePath.
namespace lyrics {

// Outcome of a whole-file read.
enum class ReadStatus { Ok, Missing, Unreadable, TooLarge };

// Bytes of a whole-file read, with why it failed.
struct FileBytes {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
};

// Reads the whole file at `gbkPath` byte for byte, refusing files above `maxBytes`. `onPiece`,
// when given, hears the bytes read so far and the file's size after each few megabytes, and
// may call the read off by returning false (the result is then Unreadable and empty).
FileBytes readFileBytes(
    const std::string& gbkPath, std::uintmax_t maxBytes = UINTMAX_MAX,
    const std::function<bool(std::size_t done, std::size_t total)>& onPiece = {});

// True when a regular file exists at `gbkPath`.
bool fileExists(const std::string& gbkPath);

// Writes `bytes` to a temporary file beside `gbkPath` and renames it over the target, so a
// crash never leaves a half-written file. False when any step fails.
bool writeFileReplacing(const std::string& gbkPath, const std::string& bytes);

}  // namespace lyrics
