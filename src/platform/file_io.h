#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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

// Reads the whole file at `gbkPath` byte for byte, refusing files above `maxBytes`. `onPiece`,
// when given, hears the bytes read so far and the file's size after each few megabytes, and
// may call the read off by returning false (the result is then Unreadable and empty).
FileBytes readFileBytes(
    const std::string& gbkPath, std::uintmax_t maxBytes = UINTMAX_MAX,
    const std::function<bool(std::size_t done, std::size_t total)>& onPiece = {});

// Reads the file at `gbkPath` from its start in pieces of up to `pieceBytes`, refusing files
// above `maxBytes`, and hands each piece with the bytes read so far and the file's size to
// `onPiece`, which stops the read by returning false (the status stays Ok). The piece lasts
// until `onPiece` returns. Nothing of the file is kept.
ReadStatus readFilePieces(
    const std::string& gbkPath, std::uintmax_t maxBytes, std::size_t pieceBytes,
    const std::function<bool(std::string_view piece, std::size_t done, std::size_t total)>&
        onPiece);

// True when a regular file exists at `gbkPath`.
bool fileExists(const std::string& gbkPath);

// Outcome of a file write; on failure the file that stood there is left as it was.
enum class WriteStatus { Ok, DiskFull, NotPermitted, Failed };

// Writes `bytes` to a temporary file beside `gbkPath` and renames it over the target, so a
// crash, a full disk or a read-only folder never leaves a half-written file.
WriteStatus replaceFile(const std::string& gbkPath, const std::string& bytes);

// Takes one piece of a file being written; false once the write has failed.
using PieceSink = std::function<bool(std::string_view)>;
// Hands the pieces of a file to the sink, in order; false when it gave up.
using PieceProducer = std::function<bool(const PieceSink&)>;

// replaceFile with the bytes handed over in pieces, so a large file is never held whole; a
// producer that gives up leaves the old file as it was (Failed).
WriteStatus replaceFileFrom(const std::string& gbkPath, const PieceProducer& produce);

// Replaces several files (path, bytes) as one: every new content is written beside its file
// first, and only once all of them are written are they renamed into place. A failure before
// that changes no file; `failedPath`, when given, receives the path that failed.
WriteStatus replaceFiles(const std::vector<std::pair<std::string, std::string>>& files,
                         std::string* failedPath = nullptr);

// replaceFile, true when it succeeded.
bool writeFileReplacing(const std::string& gbkPath, const std::string& bytes);

}  // namespace platform
