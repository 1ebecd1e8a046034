#include "app/window/shown_line.h"

#include "app/adapters/gbk.h"

namespace app {

namespace {

// Bytes of the character starting at `pos`: a byte of 0x80 or above starts a two-byte
// character, and a lead byte followed by a digit starts a four-byte GB18030 form.
std::size_t characterWidth(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (lead < 0x80) return 1;
  if (lead >= 0x81 && lead <= 0xFE && pos + 1 < bytes.size()) {
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    if (second >= 0x30 && second <= 0x39) return 4;
  }
  return 2;
}

}  // namespace

QString shownLineText(std::string_view line, int maxCharacters) {
  // Decoding and shaping a line of megabytes on every paint froze the window; only the
  // prefix is decoded, and the document keeps the line whole.
  std::size_t end = 0;
  for (int characters = 0; end < line.size(); ++characters) {
    if (characters == maxCharacters) {
      return toQString(line.substr(0, end)) + QChar(0x2026);
    }
    end += characterWidth(line, end);
  }
  return toQString(line);
}

}  // namespace app
