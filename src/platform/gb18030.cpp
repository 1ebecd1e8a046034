#include "platform/gb18030.h"

namespace platform {

namespace {

// The reserved codes of undecodable bytes 0x80..0xFF: FE 30 8x 3y, far beyond the last
// Unicode character (E3 32 9A 35), so no GB18030 encoder ever produces them.
constexpr unsigned char kEscapeFirst = 0xFE;
constexpr unsigned char kEscapeSecond = 0x30;

bool inRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

}  // namespace

Gb18030& gb18030() {
  thread_local Gb18030 converter;
  return converter;
}

std::size_t utf8Length(std::string_view bytes, std::size_t pos, char32_t& character) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char lead = at(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (inRange(lead, 0xC2, 0xDF)) {
    length = 2;
    character = lead & 0x1F;
  } else if (inRange(lead, 0xE0, 0xEF)) {
    length = 3;
    character = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (inRange(lead, 0xF0, 0xF4)) {
    length = 4;
    character = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (pos + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = at(i);
    if (!inRange(next, i == 1 ? low : 0x80, i == 1 ? high : 0xBF)) return 0;
    character = (character << 6) | (next & 0x3F);
  }
  return length;
}

void appendUtf16(char32_t character, std::u16string& out) {
  if (character < 0x10000) {
    out += static_cast<char16_t>(character);
  } else {
    out += static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
  }
}

void appendUtf8(char32_t character, std::string& out) {
  if (character < 0x80) {
    out += static_cast<char>(character);
  } else if (character < 0x800) {
    out += static_cast<char>(0xC0 | (character >> 6));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    out += static_cast<char>(0xE0 | (character >> 12));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (character >> 18));
    out += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  }
}

void appendEscape(unsigned char byte, std::string& out) {
  const int index = byte - 0x80;
  out += static_cast<char>(kEscapeFirst);
  out += static_cast<char>(kEscapeSecond);
  out += static_cast<char>(0x81 + index / 10);
  out += static_cast<char>(0x30 + index % 10);
}

std::size_t gbkLength(std::string_view bytes, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  if (!inRange(lead, 0x81, 0xFE) || pos + 1 >= bytes.size()) return 0;
  const unsigned char second = at(1);
  if (inRange(second, 0x40, 0x7E) || inRange(second, 0x80, 0xFE)) return 2;
  if (!inRange(second, 0x30, 0x39) || pos + 3 >= bytes.size()) return 0;
  return inRange(at(2), 0x81, 0xFE) && inRange(at(3), 0x30, 0x39) ? 4 : 0;
}

std::optional<unsigned char> escapedByte(std::string_view code) {
  if (code.size() != 4 || static_cast<unsigned char>(code[0]) != kEscapeFirst ||
      static_cast<unsigned char>(code[1]) != kEscapeSecond) {
    return std::nullopt;
  }
  const int index = (static_cast<unsigned char>(code[2]) - 0x81) * 10 + (code[3] - 0x30);
  if (index >= 0x80) return std::nullopt;
  return static_cast<unsigned char>(0x80 + index);
}

bool plainAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace platform
