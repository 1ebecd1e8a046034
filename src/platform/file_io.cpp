#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

FileBytes readFileBytes(const std::string& gbkPath, std::uintmax_t maxBytes) {
  FileBytes result;
  const std::string path = nativePath(gbkPath);
  // Non-blocking, so a named pipe or a device under a lyrics name is refused below instead of
  // hanging the editor in open(); reads of regular files are not affected by the flag.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  const int fd = file.fd;
  if (fd < 0) {
    result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result.status = ReadStatus::Unreadable;
    return result;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    result.status = ReadStatus::TooLarge;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t got = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.bytes.clear();
      result.status = ReadStatus::Unreadable;
      return result;
    }
    if (got == 0) break;  // the file shrank while being read
    done += static_cast<std::size_t>(got);
  }
  result.bytes.resize(done);
  result.status = ReadStatus::Ok;
  return result;
}

bool fileExists(const std::string& gbkPath) {
  struct stat info {};
  return ::stat(nativePath(gbkPath).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

// Writes `bytes` to a fresh temporary file beside `target` and flushes it to the disk; the
// temporary name on success, nothing when any step fails (the temporary file is then gone).
std::optional<std::string> writeBeside(const std::string& target, const std::string& bytes) {
  std::random_device seed;
  const std::string temp = target + ".tmp" + std::to_string(seed() % 1000000);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return std::nullopt;
  std::size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(put);
  }
  // Network file systems may report a full disk only when the data is flushed or closed.
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (!ok) {
    ::unlink(temp.c_str());
    return std::nullopt;
  }
  // Keep the permissions of a file that is being replaced.
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) ::chmod(temp.c_str(), info.st_mode & 07777);
  return temp;
}

}  // namespace

bool writeFileReplacing(const std::string& gbkPath, const std::string& bytes) {
  const std::string target = nativePath(gbkPath);
  const std::optional<std::string> temp = writeBeside(target, bytes);
  if (!temp) return false;
  if (::rename(temp->c_str(), target.c_str()) == 0) return true;
  ::unlink(temp->c_str());
  return false;
}

std::optional<std::size_t> writeFilesReplacing(
    const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<std::pair<std::string, std::string>> written;  // temporary name, target
  std::optional<std::size_t> failed;
  for (std::size_t k = 0; k < files.size() && !failed; ++k) {
    const std::string target = nativePath(files[k].first);
    if (auto temp = writeBeside(target, files[k].second)) {
      written.emplace_back(std::move(*temp), target);
    } else {
      failed = k;
    }
  }
  // Only when every new text is safely on the disk does any of them replace an old file.
  for (std::size_t k = 0; k < written.size(); ++k) {
    if (!failed && ::rename(written[k].first.c_str(), written[k].second.c_str()) != 0) failed = k;
    if (failed) ::unlink(written[k].first.c_str());
  }
  return failed;
}

}  // namespace platform
