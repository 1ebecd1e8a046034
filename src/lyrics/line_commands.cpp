#include "lyrics/line_commands.h"

#include "lyrics/line_filter.h"
#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"

namespace lyrics {

LineCommands::LineCommands(LyricsList& list, HeaderFields& headers, StatusBar& status,
                           platform::Prompter& prompter,
                           std::function<void(const std::string&)> showPreview)
    : m_list(list),
      m_headers(headers),
      m_status(status),
      m_prompter(prompter),
      m_showPreview(std::move(showPreview)) {}

void LineCommands::moveLineUp() {
  const int selected = m_list.selection();
  if (selected <= 0) return;
  std::string text(m_list.line(selected));
  m_list.deleteLine(selected);
  m_list.insertLine(selected - 1, std::move(text));
  // Keeping the index selects the line that moved down, so a second press swaps them back.
  m_list.setSelection(selected);
}

void LineCommands::moveLineDown() {
  const int selected = m_list.selection();
  if (selected == -1 || selected == m_list.count() - 1) return;
  std::string text(m_list.line(selected));
  m_list.deleteLine(selected);
  m_list.insertLine(selected + 1, std::move(text));
  m_list.setSelection(selected + 1);
}

void LineCommands::deleteSelectedLine() {
  const int selected = m_list.selection();
  if (selected == -1) return;
  m_list.deleteLine(selected);
  // The clamp selects the line that followed, or the new last line.
  m_list.setSelection(selected);
}

void LineCommands::clearLyrics() { m_list.clear(); }

bool LineCommands::newLyricsFile() {
  if (!m_prompter.ask("确定清空所有数据，新建歌词文件？", "tolva_提示：",
                      platform::MessageIcon::None))
    return false;
  m_list.clear();
  m_headers.setText(HeaderFields::Album, "");
  m_headers.setText(HeaderFields::Song, "");
  m_headers.setText(HeaderFields::Singer, "");
  m_headers.setText(HeaderFields::Editor, "");
  for (int part = 0; part < StatusBar::kPartCount; ++part) {
    m_status.setText(part, status_texts::newFileText(part));
  }
  return true;
}

std::string withoutSpaces(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t width = charWidthAt(line, pos);
    const bool asciiSpace = width == 1 && line[pos] == ' ';
    const bool fullWidthSpace = width == 2 && static_cast<unsigned char>(line[pos]) == 0xA1 &&
                                static_cast<unsigned char>(line[pos + 1]) == 0xA1;
    if (!asciiSpace && !fullWidthSpace) out.append(line.substr(pos, width));
    pos += width;
  }
  return out;
}

void LineCommands::deleteAllSpaces() {
  // Every line is replaced by a new one, so the selected line is replaced too and the list
  // ends with no selection, whether or not that line held a space.
  for (int i = 0; i < m_list.count(); ++i) m_list.setLine(i, withoutSpaces(m_list.line(i)));
  m_list.setSelection(-1);
}

void LineCommands::deleteEmptyLines() {
  keepLines(m_list, [](std::string_view line) {
    if (line.empty()) return false;
    const bool tagSized = line.size() == kShortTagLength || line.size() == kFullTagLength;
    return !(tagSized && line.front() == '[');
  });
}

void LineCommands::previewLyrics() {
  if (m_showPreview) m_showPreview(joinLyricsText(m_list));
}

}  // namespace lyrics
