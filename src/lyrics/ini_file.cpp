#include "lyrics/ini_file.h"

#include "lyrics/text_rules.h"

namespace lyrics {

namespace {

constexpr std::string_view kBlanks = " \t";

// Length of the line break at `pos` (CR LF, LF or a lone CR), or 0.
std::size_t lineBreakLength(std::string_view bytes, std::size_t pos) {
  if (bytes[pos] == '\n') return 1;
  if (bytes[pos] != '\r') return 0;
  return pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;
}

// The line without its line break.
std::string_view content(std::string_view line) {
  if (line.ends_with("\r\n")) return line.substr(0, line.size() - 2);
  if (line.ends_with('\n') || line.ends_with('\r')) return line.substr(0, line.size() - 1);
  return line;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  return asciiLower(trimmed(a)) == asciiLower(trimmed(b));
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
  const std::string_view text = trimmed(content(line));
  if (text.empty() || text.front() != '[') return std::nullopt;
  const auto close = findBytes(text, "]");
  if (!close) return std::nullopt;
  return text.substr(1, *close - 1);
}

bool isComment(std::string_view line) {
  const std::string_view text = trimmed(content(line));
  return !text.empty() && text.front() == ';';
}

std::string_view lineBreakOf(std::string_view line) { return line.substr(content(line).size()); }

}  // namespace

IniFile::IniFile(std::string_view bytes) {
  std::size_t start = 0;
  std::size_t crLf = 0;
  std::size_t lf = 0;
  std::size_t cr = 0;
  while (start < bytes.size()) {
    std::size_t end = start;
    std::size_t breakLength = 0;
    while (end < bytes.size() && (breakLength = lineBreakLength(bytes, end)) == 0) ++end;
    if (breakLength == 2) ++crLf;
    if (breakLength == 1) ++(bytes[end] == '\n' ? lf : cr);
    const std::size_t next = end + breakLength;
    m_lines.emplace_back(bytes.substr(start, next - start));
    start = next;
  }
  // Added lines follow the break most of the file uses, so a lone-CR file stays one.
  if (lf > crLf && lf >= cr) m_lineBreak = "\n";
  if (cr > crLf && cr > lf) m_lineBreak = "\r";
}

std::optional<std::size_t> IniFile::sectionBody(std::string_view section) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const auto name = sectionName(m_lines[i]);
    if (name && sameName(*name, section)) return i + 1;
  }
  return std::nullopt;
}

std::optional<std::size_t> IniFile::keyLine(std::size_t body, std::string_view key) const {
  for (std::size_t i = body; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
    if (isComment(m_lines[i])) continue;
    const std::string_view text = content(m_lines[i]);
    const auto equals = text.find('=');
    if (equals != std::string_view::npos && sameName(text.substr(0, equals), key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const auto body = sectionBody(section);
  if (!body) return std::nullopt;
  const auto line = keyLine(*body, key);
  if (!line) return std::nullopt;
  const std::string_view text = content(m_lines[*line]);
  return std::string(text.substr(text.find('=') + 1));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string entry = std::string(key) + "=" + std::string(value);
  const auto body = sectionBody(section);
  if (!body) {
    if (!m_lines.empty() && lineBreakOf(m_lines.back()).empty()) m_lines.back() += m_lineBreak;
    m_lines.push_back("[" + std::string(section) + "]" + m_lineBreak);
    m_lines.push_back(entry + m_lineBreak);
    return;
  }
  if (const auto line = keyLine(*body, key)) {
    std::string lineBreak(lineBreakOf(m_lines[*line]));
    m_lines[*line] = entry + (lineBreak.empty() ? m_lineBreak : lineBreak);
    return;
  }
  // A new key goes after the section's last non-blank line, before any blank lines that
  // separate it from the next section.
  std::size_t insertAt = *body;
  for (std::size_t i = *body; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
    if (!trimmed(content(m_lines[i])).empty()) insertAt = i + 1;
  }
  if (insertAt > 0 && lineBreakOf(m_lines[insertAt - 1]).empty()) {
    m_lines[insertAt - 1] += m_lineBreak;
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry + m_lineBreak);
}

std::string IniFile::bytes() const {
  std::string out;
  for (const auto& line : m_lines) out += line;
  return out;
}

}  // namespace lyrics
