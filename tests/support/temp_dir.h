#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

// A fresh directory under the system temp folder, removed with everything in it at the end.
// Names are native (UTF-8) paths; pure tests that use non-ASCII names convert with nativePath.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lrc-test-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Full path of `name` inside the directory.
  std::string file(const std::string& name) const { return (m_path / name).string(); }
  // Writes raw bytes to `name` and returns its full path.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(m_path / name, std::ios::binary);
    out << bytes;
    return file(name);
  }
  // Reads the raw bytes of `name`.
  std::string read(const std::string& name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace testsupport
