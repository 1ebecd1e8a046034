#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/prompter.h"

// A property check of a fuzz target: stays on in every build type (unlike assert) and aborts,
// so libFuzzer keeps the input that broke the property.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "property failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

namespace fuzzing {

// The fuzzer's input as bytes.
inline std::string_view bytesOf(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Positions where a character starts, stepping as the text rules do: a byte of 0x80 or above
// starts a two-byte character (one byte when it is the last). The end is not included.
template <typename Visit>
void forEachCharacterStart(std::string_view text, Visit visit) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    visit(pos);
    pos += static_cast<unsigned char>(text[pos]) >= 0x80 && pos + 1 < text.size() ? 2 : 1;
  }
}

// True when the text, cut at its end, does not end in the first byte of a two-byte character.
inline bool endsOnWholeCharacter(std::string_view text) {
  std::size_t last = text.size();
  forEachCharacterStart(text, [&](std::size_t pos) { last = pos; });
  return text.empty() || static_cast<unsigned char>(text[last]) < 0x80 || last + 1 < text.size();
}

// A folder for a target's files, in memory where the machine has /dev/shm, removed at exit.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix) {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) std::abort();
    m_path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

// A target whose inputs never call for a message box: any message aborts with its text.
class NoMessages : public platform::Prompter {
 public:
  void inform(const std::string& text, const std::string&, platform::MessageIcon) override {
    std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    std::abort();
  }
  bool ask(const std::string& text, const std::string& title, platform::MessageIcon icon) override {
    inform(text, title, icon);
    return false;
  }
};

}  // namespace fuzzing
