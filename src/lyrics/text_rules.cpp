#include "lyrics/text_rules.h"

#include <cstdio>

#include "lyrics/lyrics_text.h"

namespace lyrics {

std::size_t charWidthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (byte >= 0x80 && pos + 1 < text.size()) return 2;
  return 1;
}

std::optional<std::size_t> findBytes(std::string_view text, std::string_view needle) {
  if (needle.empty()) return std::nullopt;
  for (std::size_t pos = 0; pos < text.size(); pos += charWidthAt(text, pos)) {
    if (text.substr(pos, needle.size()) == needle) return pos;
  }
  return std::nullopt;
}

std::size_t leadingTagLength(std::string_view line) {
  if (line.empty() || line.front() != '[') return 0;
  const auto close = findBytes(line, "]");
  if (!close) return 0;
  if (*close == kFullTagLength - 1) return kFullTagLength;
  if (*close == kShortTagLength - 1) return kShortTagLength;
  return 0;
}

std::vector<std::string> splitBytes(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    if (!text.empty()) pieces.emplace_back(text);
    return pieces;
  }
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.compare(pos, separator.size(), separator) == 0) {
      pieces.emplace_back(text.substr(start, pos - start));
      pos += separator.size();
      start = pos;
    } else {
      pos += charWidthAt(text, pos);
    }
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

std::vector<std::string> splitLyricsText(std::string_view text) {
  // The lyrics list cuts its texts through LyricsText: one rule for both.
  const LyricsText cut = LyricsText::cut(std::string(text));
  std::vector<std::string> lines;
  lines.reserve(cut.lineCount());
  for (std::size_t i = 0; i < cut.lineCount(); ++i) lines.emplace_back(cut.line(i));
  return lines;
}

FileForm::LineEnd importedLineEnd(std::string_view text) {
  // Any CR LF, even one whose CR pairs with a lead byte, keeps the designed rule exactly.
  if (text.find('\n') == std::string_view::npos || text.find("\r\n") != std::string_view::npos) {
    return FileForm::LineEnd::CrLf;
  }
  return FileForm::LineEnd::Lf;
}

std::string joinLyricsText(const std::vector<std::string>& lines) {
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size() + kLineBreak.size();
  std::string text;
  text.reserve(total);
  for (const auto& line : lines) {
    text += line;
    text += kLineBreak;
  }
  return text;
}

std::string_view textUntilZero(std::string_view bytes) {
  const auto zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t width = charWidthAt(out, pos);
    if (width == 1 && out[pos] >= 'A' && out[pos] <= 'Z')
      out[pos] = static_cast<char>(out[pos] - 'A' + 'a');
    pos += width;
  }
  return out;
}

std::string_view lastBytes(std::string_view text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

std::string twoDigitField(long long value) {
  const std::string digits = "0" + std::to_string(value);
  return digits.substr(digits.size() - 2);
}

std::string formatReal(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
}

}  // namespace lyrics
