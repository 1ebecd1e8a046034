#include "platform/native_path.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <optional>

namespace platform {

namespace {

// The reserved codes of undecodable bytes 0x80..0xFF: FE 30 8x 3y, far beyond the last
// Unicode character (E3 32 9A 35), so no GB18030 encoder ever produces them.
constexpr unsigned char kEscapeFirst = 0xFE;
constexpr unsigned char kEscapeSecond = 0x30;

bool inRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

// ICU's GB18030 converter: the one Qt uses for the document text on screen, and a bijection
// between every Unicode character and every assigned GB18030 code. Errors stop the conversion
// instead of producing substitutes, so a code ICU does not know is noticed.
class Gb18030 {
 public:
  Gb18030() {
    UErrorCode error = U_ZERO_ERROR;
    m_converter = ucnv_open("gb18030", &error);
    if (U_FAILURE(error)) {
      m_converter = nullptr;
      return;
    }
    ucnv_setFromUCallBack(m_converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &error);
    ucnv_setToUCallBack(m_converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  }
  ~Gb18030() {
    if (m_converter) ucnv_close(m_converter);
  }
  Gb18030(const Gb18030&) = delete;
  Gb18030& operator=(const Gb18030&) = delete;

  bool ready() const { return m_converter != nullptr; }

  // Appends the GB18030 form of the UTF-16 text `units`; false when ICU refuses it.
  bool encode(const std::u16string& units, std::string& out) {
    if (units.empty()) return true;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetFromUnicode(m_converter);
    // A UTF-16 unit never needs more than four GB18030 bytes.
    const std::size_t start = out.size();
    out.resize(start + units.size() * 4);
    const int32_t length =
        ucnv_fromUChars(m_converter, out.data() + start, static_cast<int32_t>(units.size() * 4),
                        units.data(), static_cast<int32_t>(units.size()), &error);
    out.resize(U_FAILURE(error) ? start : start + static_cast<std::size_t>(length));
    return U_SUCCESS(error);
  }

  // Appends the UTF-16 of the GB18030 codes `codes`; false, appending nothing, when ICU
  // refuses any of them.
  bool decodeRun(std::string_view codes, std::u16string& units) {
    if (codes.empty()) return true;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetToUnicode(m_converter);
    // A GB18030 code never gives more UTF-16 units than it has bytes.
    const std::size_t start = units.size();
    units.resize(start + codes.size() + 1);
    const int32_t length =
        ucnv_toUChars(m_converter, units.data() + start, static_cast<int32_t>(codes.size() + 1),
                      codes.data(), static_cast<int32_t>(codes.size()), &error);
    units.resize(U_FAILURE(error) ? start : start + static_cast<std::size_t>(length));
    return U_SUCCESS(error);
  }

  // The Unicode character of the one GB18030 code `code`, or nothing.
  std::optional<char32_t> decode(std::string_view code) {
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetToUnicode(m_converter);
    char16_t units[4];
    const int32_t length = ucnv_toUChars(m_converter, units, 4, code.data(),
                                         static_cast<int32_t>(code.size()), &error);
    if (U_FAILURE(error)) return std::nullopt;
    if (length == 1 && !inSurrogates(units[0])) return units[0];
    if (length == 2 && units[0] >= 0xD800 && units[0] <= 0xDBFF && units[1] >= 0xDC00 &&
        units[1] <= 0xDFFF) {
      return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
    }
    return std::nullopt;
  }

 private:
  static bool inSurrogates(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

  UConverter* m_converter = nullptr;
};

// A converter per thread: an ICU converter keeps state and must not be shared.
Gb18030& gb18030() {
  thread_local Gb18030 converter;
  return converter;
}

// Length of the well-formed UTF-8 character at `pos`, or 0: overlong forms, surrogates, code
// points above U+10FFFF and cut-off sequences are not characters.
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

// Length of the GB18030 code at `pos` by its byte pattern alone (1, 2 or 4), or 0.
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

// The undecodable byte a reserved code stands for, or nothing.
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

}  // namespace

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
