#include "lyrics/lyrics_list.h"

#include <algorithm>
#include <iterator>

namespace lyrics {

namespace {
const std::string kEmpty;
}

const std::string& LyricsList::line(int index) const {
  if (index < 0 || index >= count()) return kEmpty;
  return m_lines[static_cast<std::size_t>(index)];
}

bool LyricsList::setLine(int index, std::string text) {
  if (index < 0 || index >= count()) return false;
  auto& current = m_lines[static_cast<std::size_t>(index)];
  if (current == text) return false;
  current = std::move(text);
  if (m_observer) m_observer->lineChanged(index);
  return true;
}

int LyricsList::insertLine(int index, std::string text) {
  if (index < 0 || index > count()) return -1;
  m_lines.insert(m_lines.begin() + index, std::move(text));
  if (m_observer) m_observer->linesInserted(index, 1);
  if (m_selection >= index) changeSelection(m_selection + 1);
  return index;
}

int LyricsList::appendLine(std::string text) { return insertLine(count(), std::move(text)); }

void LyricsList::appendLines(std::vector<std::string> lines) {
  if (lines.empty()) return;
  const int first = count();
  const int added = static_cast<int>(lines.size());
  m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
  if (m_observer) m_observer->linesInserted(first, added);
}

bool LyricsList::deleteLine(int index) {
  if (index < 0 || index >= count()) return false;
  m_lines.erase(m_lines.begin() + index);
  if (m_observer) m_observer->lineRemoved(index);
  if (m_selection == index) {
    changeSelection(-1);
  } else if (m_selection > index) {
    changeSelection(m_selection - 1);
  }
  return true;
}

void LyricsList::clear() { replaceAll({}); }

void LyricsList::replaceAll(std::vector<std::string> lines) {
  m_lines = std::move(lines);
  const bool hadSelection = m_selection != -1;
  m_selection = -1;
  if (m_observer) {
    m_observer->linesReset();
    if (hadSelection) m_observer->selectionChanged(-1);
  }
}

void LyricsList::setSelection(int index) {
  changeSelection(std::clamp(index, -1, count() - 1));
}

void LyricsList::changeSelection(int selected) {
  if (selected == m_selection) return;
  m_selection = selected;
  if (m_observer) m_observer->selectionChanged(selected);
}

}  // namespace lyrics
