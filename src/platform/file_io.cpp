#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

namespace {

// Opens `gbkPath` for reading when it is a regular file of at most `maxBytes`: the descriptor
// and the size, or why not.
ReadStatus openForReading(const std::string& gbkPath, std::uintmax_t maxBytes, Descriptor& file,
                          std::size_t& size) {
  const std::string path = nativePath(gbkPath);
  // Non-blocking, so a named pipe or a device under a lyrics name is refused below instead of
  // hanging the editor in open(); reads of regular files are not affected by the flag.
  file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file.fd < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::Unreadable;
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return ReadStatus::TooLarge;
  size = static_cast<std::size_t>(info.st_size);
  return ReadStatus::Ok;
}

// Reads up to `want` bytes into `into`: how many came (0 at the end of the file), or -1.
ssize_t readSome(int fd, char* into, std::size_t want) {
  for (;;) {
    const ssize_t got = ::read(fd, into, want);
    if (got >= 0 || errno != EINTR) return got;
  }
}

// Pieces of a few megabytes, so a caller on another thread can show progress and cancel.
constexpr std::size_t kPieceBytes = std::size_t{4} << 20;

}  // namespace

FileBytes readFileBytes(const std::string& gbkPath, std::uintmax_t maxBytes,
                        const std::function<bool(std::size_t, std::size_t)>& onPiece) {
  FileBytes result;
  Descriptor file{-1};
  std::size_t size = 0;
  result.status = openForReading(gbkPath, maxBytes, file, size);
  if (result.status != ReadStatus::Ok) return result;
  result.bytes.resize(size);
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const std::size_t want = std::min(kPieceBytes, result.bytes.size() - done);
    const ssize_t got = readSome(file.fd, result.bytes.data() + done, want);
    if (got < 0) {
      result.bytes.clear();
      result.status = ReadStatus::Unreadable;
      return result;
    }
    if (got == 0) break;  // the file shrank while being read
    done += static_cast<std::size_t>(got);
    if (onPiece && !onPiece(done, result.bytes.size())) {
      result.bytes = {};
      result.status = ReadStatus::Unreadable;
      return result;
    }
  }
  result.bytes.resize(done);
  result.status = ReadStatus::Ok;
  return result;
}

ReadStatus readFilePieces(
    const std::string& gbkPath, std::uintmax_t maxBytes, std::size_t pieceBytes,
    const std::function<bool(std::string_view, std::size_t, std::size_t)>& onPiece) {
  Descriptor file{-1};
  std::size_t size = 0;
  const ReadStatus status = openForReading(gbkPath, maxBytes, file, size);
  if (status != ReadStatus::Ok) return status;
  std::string piece(std::max<std::size_t>(1, std::min(pieceBytes, size)), '\0');
  for (std::size_t done = 0;;) {
    const ssize_t got = readSome(file.fd, piece.data(), piece.size());
    if (got < 0) return ReadStatus::Unreadable;
    if (got == 0) return ReadStatus::Ok;
    done += static_cast<std::size_t>(got);
    if (done > maxBytes) return ReadStatus::TooLarge;
    // A file that grew while being read is taken as it is now; its size only guides progress.
    if (!onPiece(std::string_view(piece.data(), static_cast<std::size_t>(got)), done,
                 std::max(done, size)))
      return ReadStatus::Ok;
  }
}

bool fileExists(const std::string& gbkPath) {
  struct stat info {};
  return ::stat(nativePath(gbkPath).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

WriteStatus statusOf(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return WriteStatus::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
      return WriteStatus::NotPermitted;
    default:
      return WriteStatus::Failed;
  }
}

// Writes the pieces `produce` hands over into a new temporary file beside `target` (native
// path) and flushes it to the disk; the temporary's path goes to `temp`. A failure leaves no
// temporary behind.
WriteStatus writeTemporary(const std::string& target, const PieceProducer& produce,
                           std::string& temp) {
  std::random_device seed;
  temp = target + ".tmp" + std::to_string(seed() % 1000000);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return statusOf(errno);
  int error = 0;
  const auto put = [fd, &error](std::string_view bytes) {
    std::size_t done = 0;
    while (error == 0 && done < bytes.size()) {
      const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        error = put < 0 ? errno : ENOSPC;
        break;
      }
      done += static_cast<std::size_t>(put);
    }
    return error == 0;
  };
  // A producer that gives up without a write error has no file to show for it.
  if (!produce(put) && error == 0) error = ECANCELED;
  // A full disk may only show when the data is flushed or the file closed.
  if (::fsync(fd) != 0 && error == 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return statusOf(error);
  }
  // Keep the permissions of a file that is being replaced.
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) ::chmod(temp.c_str(), info.st_mode & 07777);
  return WriteStatus::Ok;
}

WriteStatus writeTemporary(const std::string& target, const std::string& bytes, std::string& temp) {
  return writeTemporary(
      target, [&bytes](const PieceSink& put) { return put(bytes); }, temp);
}

WriteStatus renameInPlace(const std::string& temp, const std::string& target) {
  if (::rename(temp.c_str(), target.c_str()) == 0) return WriteStatus::Ok;
  const int error = errno;
  ::unlink(temp.c_str());
  return statusOf(error);
}

}  // namespace

WriteStatus replaceFile(const std::string& gbkPath, const std::string& bytes) {
  // Not through replaceFiles: a save of a long document is not copied on its way to the disk.
  const std::string target = nativePath(gbkPath);
  std::string temp;
  const WriteStatus status = writeTemporary(target, bytes, temp);
  if (status != WriteStatus::Ok) return status;
  return renameInPlace(temp, target);
}

WriteStatus replaceFileFrom(const std::string& gbkPath, const PieceProducer& produce) {
  const std::string target = nativePath(gbkPath);
  std::string temp;
  const WriteStatus status = writeTemporary(target, produce, temp);
  if (status != WriteStatus::Ok) return status;
  return renameInPlace(temp, target);
}

WriteStatus replaceFiles(const std::vector<std::pair<std::string, std::string>>& files,
                         std::string* failedPath) {
  std::vector<std::pair<std::string, std::string>> written;  // target, temporary
  written.reserve(files.size());
  const auto fail = [&](WriteStatus status, const std::string& path) {
    for (const auto& [target, temp] : written) ::unlink(temp.c_str());
    if (failedPath) *failedPath = path;
    return status;
  };
  for (const auto& [path, bytes] : files) {
    const std::string target = nativePath(path);
    std::string temp;
    const WriteStatus status = writeTemporary(target, bytes, temp);
    if (status != WriteStatus::Ok) return fail(status, path);
    written.emplace_back(target, std::move(temp));
  }
  // Renames need no room on the disk. A folder standing in a file's place would fail its
  // rename after the others had gone through, so it is looked for before any rename.
  for (std::size_t i = 0; i < written.size(); ++i) {
    struct stat info {};
    if (::stat(written[i].first.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      return fail(WriteStatus::Failed, files[i].first);
    }
  }
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (::rename(written[i].second.c_str(), written[i].first.c_str()) != 0) {
      const WriteStatus status = statusOf(errno);
      written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(i));
      return fail(status, files[i].first);
    }
  }
  return WriteStatus::Ok;
}

bool writeFileReplacing(const std::string& gbkPath, const std::string& bytes) {
  return replaceFile(gbkPath, bytes) == WriteStatus::Ok;
}

}  // namespace platform
