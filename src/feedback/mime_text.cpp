#include "feedback/mime_text.h"

#include <algorithm>

namespace feedback {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Longest UTF-8 input of one encoded-word: "=?UTF-8?B?" + base64 + "?=" within 75 characters
// leaves 63 base64 characters, that is 15 groups of three bytes.
constexpr std::size_t kWordBytes = 45;

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    unsigned group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group <<= 8;
      if (k < count) group |= static_cast<unsigned char>(bytes[i + k]);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
  }
  return out;
}

std::string base64Lines(std::string_view bytes) {
  const std::string encoded = base64(bytes);
  std::string out;
  for (std::size_t i = 0; i < encoded.size(); i += 76) {
    out += encoded.substr(i, 76);
    out += "\r\n";
  }
  return out;
}

std::string encodedWords(std::string_view utf8) {
  std::string out;
  while (!utf8.empty()) {
    std::size_t take = std::min(kWordBytes, utf8.size());
    // A character split between two words would be shown as two broken ones.
    while (take < utf8.size() && take > 0 && isContinuationByte(utf8[take])) --take;
    if (take == 0) take = std::min(kWordBytes, utf8.size());
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?" + base64(utf8.substr(0, take)) + "?=";
    utf8.remove_prefix(take);
  }
  return out;
}

std::string crlfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace feedback
