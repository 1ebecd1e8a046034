#pragma once

#include <unicode/ucnv.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The GB18030 codes and UTF-8 characters under the path and text conversions: ICU's converter,
// one per thread, and the byte patterns both conversions need.
namespace platform {

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

// The converter of the calling thread: an ICU converter keeps state and must not be shared.
Gb18030& gb18030();

// Length of the well-formed UTF-8 character at `pos`, or 0: overlong forms, surrogates, code
// points above U+10FFFF and cut-off sequences are not characters.
std::size_t utf8Length(std::string_view bytes, std::size_t pos, char32_t& character);
// Appends `character` as UTF-16.
void appendUtf16(char32_t character, std::u16string& out);
// Appends `character` as UTF-8.
void appendUtf8(char32_t character, std::string& out);
// Appends the reserved four-byte code that stands for the undecodable byte `byte` (0x80..0xFF).
void appendEscape(unsigned char byte, std::string& out);
// Length of the GB18030 code at `pos` by its byte pattern alone (1, 2 or 4), or 0.
std::size_t gbkLength(std::string_view bytes, std::size_t pos);
// The undecodable byte a reserved code stands for, or nothing.
std::optional<unsigned char> escapedByte(std::string_view code);
// True when no byte of `text` is 0x80 or above.
bool plainAscii(std::string_view text);

}  // namespace platform
