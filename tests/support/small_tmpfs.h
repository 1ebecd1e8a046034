#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace testsupport {

// A tiny tmpfs mounted on a fresh directory, to make a real full disk or a real read-only
// folder; a read-only permission alone stops nobody when the tests run as root. Mounting
// needs the right to mount, so a test checks `mounted()` and skips with `error()` otherwise.
class SmallTmpfs {
 public:
  explicit SmallTmpfs(const std::string& size = "64k") : m_options("size=" + size) {
    if (::mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, m_options.c_str()) == 0) {
      m_mounted = true;
    } else {
      m_error = std::string("mount -t tmpfs: ") + std::strerror(errno);
    }
  }
  ~SmallTmpfs() {
    if (m_mounted) ::umount2(m_dir.path().c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  // Makes the mounted file system read-only; false when remounting fails.
  bool makeReadOnly() {
    return ::mount(nullptr, m_dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY,
                   m_options.c_str()) == 0;
  }

  bool mounted() const { return m_mounted; }
  // Why mounting failed.
  const std::string& error() const { return m_error; }
  // The mounted directory.
  const TempDir& dir() const { return m_dir; }

 private:
  TempDir m_dir;
  std::string m_options;
  bool m_mounted = false;
  std::string m_error;
};

}  // namespace testsupport
