#include "platform/utf8_text.h"

#include "platform/gb18030.h"
#include "platform/native_path.h"

namespace platform {

namespace {

// Whether `bytes` is well-formed UTF-8, and whether it holds a character beyond ASCII.
struct Utf8Shape {
  bool wellFormed = true;
  bool multiByte = false;
};

Utf8Shape utf8Shape(std::string_view bytes) {
  Utf8Shape shape;
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t character = 0;
    const std::size_t length = utf8Length(bytes, pos, character);
    if (length == 0) return {false, shape.multiByte};
    shape.multiByte = true;
    pos += length;
  }
  return shape;
}

// Appends the GB18030 form of `utf8` to `out`; false when the converter refuses it.
bool appendGb18030FromUtf8(std::string_view utf8, std::string& out) {
  // Converted in pieces, so a text of many megabytes never has its whole UTF-16 form in memory;
  // a piece ends between two characters, never inside a surrogate pair.
  constexpr std::size_t kPieceUnits = 1 << 15;
  const std::size_t start = out.size();
  std::u16string piece;
  piece.reserve(kPieceUnits + 2);
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t character = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = 1;
    if (character >= 0x80) {
      length = utf8Length(utf8, pos, character);
      if (length == 0) {
        character = 0xFFFD;
        length = 1;
      }
    }
    appendUtf16(character, piece);
    pos += length;
    if (piece.size() >= kPieceUnits || pos == utf8.size()) {
      // ICU's GB18030 covers every Unicode character, so it refuses no well-formed UTF-16.
      if (!gb18030().encode(piece, out)) {
        out.resize(start);
        return false;
      }
      piece.clear();
    }
  }
  return true;
}

// Where the character that `bytes` stops in the middle of begins; bytes.size() when the bytes
// end between two characters. Every byte that is no continuation byte starts a character (or is
// one on its own when broken), so only the last three bytes need a look.
std::size_t cutCharacterStart(std::string_view bytes) {
  const std::size_t size = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(bytes[size - back]);
    if ((byte & 0xC0) == 0x80) continue;
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? size - back : size;
  }
  return size;
}

// The bytes held back from the last piece followed by `piece`, in `joined` when both have some.
std::string_view joinCarry(const std::string& carry, std::string_view piece, std::string& joined) {
  if (carry.empty()) return piece;
  joined.reserve(carry.size() + piece.size());
  joined.assign(carry);
  joined.append(piece);
  return joined;
}

}  // namespace

bool isMultiByteUtf8(std::string_view bytes) {
  const Utf8Shape shape = utf8Shape(bytes);
  return shape.wellFormed && shape.multiByte;
}

std::string gb18030FromUtf8(std::string_view utf8) {
  if (!gb18030().ready()) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  if (!appendGb18030FromUtf8(utf8, out)) return std::string(utf8);
  return out;
}

bool isWellFormedUtf8(std::string_view bytes) { return utf8Shape(bytes).wellFormed; }

namespace {

// Appends the UTF-8 of the UTF-16 text `units` (well-formed, as ICU gives it).
void appendUtf8Units(const std::u16string& units, std::string& out) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t character = units[i];
    if (character >= 0xD800 && character <= 0xDBFF && i + 1 < units.size() &&
        units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      character = 0x10000 + ((character - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    appendUtf8(character, out);
  }
}

}  // namespace

std::string utf8FromGb18030(std::string_view text) {
  if (plainAscii(text) || !gb18030().ready()) return std::string(text);
  constexpr std::size_t kRunBytes = std::size_t{1} << 16;
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  std::u16string units;
  // Codes of [runStart, pos) wait to go through the converter together.
  std::size_t runStart = 0;
  const auto flush = [&](std::size_t end) {
    const std::string_view run = text.substr(runStart, end - runStart);
    units.clear();
    const bool decoded = gb18030().decodeRun(run, units);
    if (decoded) appendUtf8Units(units, out);
    runStart = end;
    return decoded;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = gbkLength(text, pos);
    const std::optional<unsigned char> escaped =
        length == 4 ? escapedByte(text.substr(pos, 4)) : std::nullopt;
    if (length == 0 || escaped) {
      if (!flush(pos)) break;
      out += static_cast<char>(escaped ? *escaped : static_cast<unsigned char>(text[pos]));
      pos += escaped ? 4 : 1;
      runStart = pos;
      continue;
    }
    pos += length;
    if (pos - runStart >= kRunBytes && !flush(pos)) break;
  }
  // A code ICU does not know (none that an edit or a UTF-8 file gives) sends the whole text the
  // slow way, code by code, which passes such a code on byte for byte.
  if (pos < text.size() || !flush(pos)) return nativePath(text);
  return out;
}

bool Utf8Scan::add(std::string_view piece) {
  if (m_head.size() < kByteOrderMark.size()) {
    m_head += piece.substr(0, kByteOrderMark.size() - m_head.size());
  }
  if (m_broken) return false;
  std::string joined;
  const std::string_view bytes = joinCarry(m_carry, piece, joined);
  const std::size_t cut = cutCharacterStart(bytes);
  const Utf8Shape shape = utf8Shape(bytes.substr(0, cut));
  m_multiByte = m_multiByte || shape.multiByte;
  m_broken = !shape.wellFormed;
  m_carry.assign(bytes.substr(cut));
  return !m_broken;
}

void Gb18030FromUtf8Stream::add(std::string_view piece, std::string& out) {
  std::string joined;
  const std::string_view bytes = joinCarry(m_carry, piece, joined);
  const std::size_t cut = cutCharacterStart(bytes);
  const std::string_view whole = bytes.substr(0, cut);
  // As gb18030FromUtf8 does, a converter that cannot convert leaves the bytes as they are.
  if (!gb18030().ready() || !appendGb18030FromUtf8(whole, out)) out.append(whole);
  m_carry.assign(bytes.substr(cut));
}

void Gb18030FromUtf8Stream::finish(std::string& out) {
  const std::string rest = std::move(m_carry);
  m_carry.clear();
  if (!gb18030().ready() || !appendGb18030FromUtf8(rest, out)) out.append(rest);
}

}  // namespace platform
