#include "lyrics/ini_file.h"

#include "lyrics/text_rules.h"

namespace lyrics {

namespace {

constexpr std::string_view kBlanks = " \t";

// The line without its trailing CR LF, LF or CR.
std::string_view content(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
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
  while (start < bytes.size()) {
    const auto end = bytes.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    m_lines.emplace_back(bytes.substr(start, next - start));
    start = next;
  }
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
    if (!m_lines.empty() && lineBreakOf(m_lines.back()).empty()) m_lines.back() += "\r\n";
    m_lines.push_back("[" + std::string(section) + "]\r\n");
    m_lines.push_back(entry + "\r\n");
    return;
  }
  if (const auto line = keyLine(*body, key)) {
    std::string lineBreak(lineBreakOf(m_lines[*line]));
    m_lines[*line] = entry + (lineBreak.empty() ? std::string("\r\n") : lineBreak);
    return;
  }
  // A new key goes after the section's last non-blank line, before any blank lines that
  // separate it from the next section.
  std::size_t insertAt = *body;
  for (std::size_t i = *body; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
    if (!trimmed(content(m_lines[i])).empty()) insertAt = i + 1;
  }
  if (insertAt > 0 && lineBreakOf(m_lines[insertAt - 1]).empty()) m_lines[insertAt - 1] += "\r\n";
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry + "\r\n");
}

std::string IniFile::bytes() const {
  std::string out;
  for (const auto& line : m_lines) out += line;
  return out;
}

}  // namespace lyrics
