#pragma once

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

// A folder that refuses writes the way a user meets it: a disk that is full, or a folder that
// is read-only. Where the system allows mounts (root with CAP_SYS_ADMIN), the folder is a
// small tmpfs in a mount namespace of the test's own, so no other process sees it and it ends
// with the test; filled to the brim, or remounted read-only. Elsewhere the same failures are
// simulated at the system-call level: a file-size limit makes writes fail as on a full disk,
// (kRoom bytes per file), and a folder without write permission, with the root's right to override
// permissions dropped for this thread, refuses new files. Files put in before block() stay
// readable.
class BlockedFolder {
 public:
  enum class Kind { Full, ReadOnly };

  // Creates the folder `path` (native), writable until block().
  BlockedFolder(std::filesystem::path path, Kind kind) : m_path(std::move(path)), m_kind(kind) {
    std::filesystem::create_directories(m_path);
    m_mounted = mountTmpfs();
  }
  ~BlockedFolder() {
    unblock();
    if (m_mounted) ::umount2(m_path.c_str(), MNT_DETACH);
  }
  BlockedFolder(const BlockedFolder&) = delete;
  BlockedFolder& operator=(const BlockedFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string file(const std::string& name) const { return (m_path / name).string(); }
  // Whether the folder is a real tmpfs rather than a simulation.
  bool mounted() const { return m_mounted; }

  // From here on, writes into the folder fail.
  void block() {
    if (m_blocked) return;
    m_blocked = true;
    if (m_kind == Kind::Full) {
      if (m_mounted) {
        // Fills what is left to the last block, then gives a little back: small files still
        // fit, as on a disk that is nearly full, and a larger one runs out half-way.
        {
          std::ofstream filler(m_path / kFiller, std::ios::binary);
          const std::string chunk(4096, 'f');
          while (filler.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
          }
        }
        const auto size = std::filesystem::file_size(m_path / kFiller);
        std::filesystem::resize_file(m_path / kFiller, size > kRoom ? size - kRoom : 0);
      } else {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        const rlimit tiny{kRoom, m_oldLimit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &tiny);
      }
    } else if (m_mounted) {
      ::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
    } else {
      ::chmod(m_path.c_str(), 0555);
      setOverrideRights(false);
    }
  }

  // Writes succeed again.
  void unblock() {
    if (!m_blocked) return;
    m_blocked = false;
    if (m_kind == Kind::Full) {
      if (m_mounted) {
        std::filesystem::remove(m_path / kFiller);
      } else {
        ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
      }
    } else if (m_mounted) {
      ::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT, nullptr);
    } else {
      setOverrideRights(true);
      ::chmod(m_path.c_str(), 0755);
    }
  }

 private:
  static constexpr const char* kFiller = ".filler";
  // Bytes still free while the disk is full: a file larger than this cannot be written.
  static constexpr rlim_t kRoom = 64 * 1024;

  bool mountTmpfs() {
    // Set to try the simulation where mounts would work.
    if (std::getenv("LRC_TEST_SIMULATE_BLOCKED")) return false;
    static const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ownNamespace && ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=1m,mode=0755") == 0;
  }

  // Raises or drops the rights that let root write where permissions forbid it.
  static void setOverrideRights(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0) return;
    const unsigned rights =
        (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    data[0].effective =
        on ? (data[0].effective | (data[0].permitted & rights)) : (data[0].effective & ~rights);
    ::syscall(SYS_capset, &header, data);
  }

  std::filesystem::path m_path;
  Kind m_kind;
  bool m_mounted = false;
  bool m_blocked = false;
  rlimit m_oldLimit{};
};

}  // namespace testsupport
