#include "platform/native_path.h"

#include "platform/gb18030.h"

namespace platform {

std::string nativePath(std::string_view gbkPath) {
  if (plainAscii(gbkPath) || !gb18030().ready()) return std::string(gbkPath);
  std::string out;
  out.reserve(gbkPath.size() * 3 / 2);
  std::size_t pos = 0;
  while (pos < gbkPath.size()) {
    const std::size_t length = gbkLength(gbkPath, pos);
    if (length == 1) {
      out += gbkPath[pos++];
      continue;
    }
    const std::string_view code = gbkPath.substr(pos, length);
    if (const auto byte = escapedByte(code)) {
      out += static_cast<char>(*byte);
      pos += length;
      continue;
    }
    const auto character = length > 0 ? gb18030().decode(code) : std::nullopt;
    if (!character) {
      out += gbkPath[pos++];
      continue;
    }
    appendUtf8(*character, out);
    pos += length;
  }
  return out;
}

std::string gbkPath(std::string_view nativePath) {
  if (plainAscii(nativePath) || !gb18030().ready()) return std::string(nativePath);
  std::string out;
  out.reserve(nativePath.size() * 4 / 3 + 4);
  // Well-formed text is converted in runs; `run` holds the UTF-16 of the bytes from `runStart`.
  std::u16string run;
  std::size_t runStart = 0;
  const auto flush = [&](std::size_t end) {
    // ICU refuses no well-formed UTF-16; should it ever, the run is kept as escaped bytes.
    if (!gb18030().encode(run, out)) {
      for (std::size_t i = runStart; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(nativePath[i]);
        if (byte < 0x80) {
          out += static_cast<char>(byte);
        } else {
          appendEscape(byte, out);
        }
      }
    }
    run.clear();
  };
  std::size_t pos = 0;
  while (pos < nativePath.size()) {
    const auto byte = static_cast<unsigned char>(nativePath[pos]);
    if (byte < 0x80) {
      run += static_cast<char16_t>(byte);
      ++pos;
      continue;
    }
    char32_t character = 0;
    const std::size_t length = utf8Length(nativePath, pos, character);
    if (length == 0) {
      flush(pos);
      appendEscape(byte, out);
      runStart = ++pos;
      continue;
    }
    appendUtf16(character, run);
    pos += length;
  }
  flush(nativePath.size());
  return out;
}

}  // namespace platform
