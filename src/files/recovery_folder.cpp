#include "files/recovery_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "files/recovery_file.h"
#include "platform/native_path.h"

namespace files {

namespace {

constexpr const char* kPrefix = "recovery-";
constexpr const char* kData = ".bin";
constexpr const char* kLock = ".lock";
// A run's lock before it gets its name, for the few system calls of claiming it. One older than
// this was left by a run that died while claiming it.
constexpr const char* kClaim = ".locking";
constexpr auto kAbandonedClaim = std::chrono::minutes(1);

// What the folder says about one run.
struct Run {
  bool data = false;
  bool lock = false;
  std::filesystem::file_time_type written;
  std::optional<std::uint32_t> lines;
  // Temporaries of writes the run was killed in the middle of, and a lock it died claiming.
  std::vector<std::string> leftovers;
};

std::optional<std::uint32_t> headLineCount(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  char head[kRecoveryHeadBytes];
  std::size_t got = 0;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    while (got < sizeof head) {
      const ssize_t n = ::read(fd, head + got, sizeof head - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return recoveryLineCount(std::string_view(head, got));
}

std::map<std::string, Run> runsIn(const std::string& folder) {
  std::map<std::string, Run> runs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kPrefix, 0) != 0) continue;
    if (const std::size_t at = name.find(".bin.tmp"); at != std::string::npos) {
      runs[name.substr(0, at)].leftovers.push_back(name);
    }
    if (name.ends_with(kClaim) && entry.last_write_time(error) + kAbandonedClaim <
                                      std::filesystem::file_time_type::clock::now()) {
      runs[name.substr(0, name.size() - std::strlen(kClaim))].leftovers.push_back(name);
    }
    for (const std::string extension : {kData, kLock}) {
      if (name.size() <= extension.size() ||
          name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
        continue;
      }
      Run& run = runs[name.substr(0, name.size() - extension.size())];
      if (extension == kLock) {
        run.lock = true;
      } else if (entry.is_regular_file(error)) {
        run.data = true;
        run.written = entry.last_write_time(error);
        run.lines = headLineCount(entry.path().string());
      }
    }
  }
  return runs;
}

}  // namespace

RecoveryFolder::RecoveryFolder(std::string folder) {
  if (folder.empty()) return;
  m_folder = platform::nativePath(folder);
  while (m_folder.size() > 1 && m_folder.back() == '/') m_folder.pop_back();
  std::error_code error;
  std::filesystem::create_directories(m_folder, error);
  const auto started = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  m_stem = kPrefix + std::to_string(started) + "-" + std::to_string(::getpid());
  // Locked before it gets its name, so no other run ever sees it free while this one lives.
  const std::string temporary = m_folder + "/" + m_stem + ".locking";
  const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      ::rename(temporary.c_str(), (m_folder + "/" + m_stem + kLock).c_str()) != 0) {
    ::unlink(temporary.c_str());
    ::close(fd);
    return;
  }
  m_lock = fd;
}

RecoveryFolder::~RecoveryFolder() {
  if (m_lock < 0) return;
  ::unlink((m_folder + "/" + m_stem + kLock).c_str());
  ::close(m_lock);
}

std::string RecoveryFolder::ownFile() const {
  return usable() ? platform::gbkPath(m_folder + "/" + m_stem + kData) : std::string();
}

int RecoveryFolder::lockEnded(const std::string& stem) const {
  if (stem == m_stem) return -1;
  const int fd = ::open((m_folder + "/" + stem + kLock).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -2;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string RecoveryFolder::latestEnded() const {
  if (m_folder.empty()) return {};
  std::string latest;
  std::filesystem::file_time_type latestTime;
  for (const auto& [stem, run] : runsIn(m_folder)) {
    if (!run.data || !run.lines || *run.lines == 0) continue;
    if (!latest.empty() && run.written < latestTime) continue;
    const int lock = lockEnded(stem);
    if (lock == -1) continue;
    if (lock >= 0) ::close(lock);
    latest = stem;
    latestTime = run.written;
  }
  return latest.empty() ? std::string() : platform::gbkPath(m_folder + "/" + latest + kData);
}

void RecoveryFolder::pruneEndedExcept(const std::string& keep) {
  if (m_folder.empty()) return;
  const std::string kept = platform::nativePath(keep);
  for (const auto& [stem, run] : runsIn(m_folder)) {
    const std::string data = m_folder + "/" + stem + kData;
    const int lock = lockEnded(stem);
    if (lock == -1) continue;
    // Holding the lock, so a run cannot be taken for ended while its file goes.
    for (const std::string& leftover : run.leftovers) ::unlink((m_folder + "/" + leftover).c_str());
    if (data == kept) {
      if (lock >= 0) ::close(lock);
      continue;
    }
    ::unlink(data.c_str());
    ::unlink((m_folder + "/" + stem + kLock).c_str());
    if (lock >= 0) ::close(lock);
  }
}

void RecoveryFolder::removeEnded(const std::string& path) {
  const std::string data = platform::nativePath(path);
  const std::string name = std::filesystem::path(data).filename().string();
  if (m_folder.empty() ||
      std::filesystem::path(data).parent_path().lexically_normal() !=
          std::filesystem::path(m_folder).lexically_normal() ||
      name.size() <= std::string(kData).size()) {
    return;
  }
  const std::string stem = name.substr(0, name.size() - std::string(kData).size());
  const int lock = lockEnded(stem);
  if (lock == -1) return;
  ::unlink(data.c_str());
  ::unlink((m_folder + "/" + stem + kLock).c_str());
  if (lock >= 0) ::close(lock);
}

}  // namespace files
