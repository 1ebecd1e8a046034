#include "files/saved_lyrics_library.h"

#include <algorithm>
#include <iterator>

namespace files {

std::string SavedLyricsLibrary::columnHeader(int column) {
  static const std::array<const char*, kColumnCount> headers = {
      "保存歌手", "保存歌曲", "专辑", "编辑人", "歌曲路径", "保存时间", "保存歌词"};
  if (column < 0 || column >= kColumnCount) return {};
  return headers[static_cast<std::size_t>(column)];
}

const SavedLyricsRecord& SavedLyricsLibrary::record(int row) const {
  static const SavedLyricsRecord empty;
  if (row < 0 || row >= count()) return empty;
  return m_rows[static_cast<std::size_t>(row)];
}

int SavedLyricsLibrary::append(SavedLyricsRecord record) {
  m_rows.push_back(std::move(record));
  const int row = count() - 1;
  if (m_observer) m_observer->rowsInserted(row, 1);
  return row;
}

void SavedLyricsLibrary::appendAll(std::vector<SavedLyricsRecord> records) {
  if (records.empty()) return;
  const int first = count();
  const int added = static_cast<int>(records.size());
  m_rows.insert(m_rows.end(), std::make_move_iterator(records.begin()),
                std::make_move_iterator(records.end()));
  if (m_observer) m_observer->rowsInserted(first, added);
}

bool SavedLyricsLibrary::setField(int row, int field, std::string text) {
  if (row < 0 || row >= count() || field < 0 || field >= kColumnCount) return false;
  std::string& slot = m_rows[static_cast<std::size_t>(row)].field(field);
  if (slot == text) return false;
  slot = std::move(text);
  if (m_observer) m_observer->fieldChanged(row, field);
  return true;
}

bool SavedLyricsLibrary::deleteRow(int row) {
  if (row < 0 || row >= count()) return false;
  m_rows.erase(m_rows.begin() + row);
  if (m_observer) m_observer->rowRemoved(row);
  if (row == m_selected) {
    changeSelection(-1);
  } else if (row < m_selected) {
    changeSelection(m_selected - 1);
  }
  return true;
}

void SavedLyricsLibrary::deleteAll() {
  m_rows.clear();
  if (m_observer) m_observer->rowsReset();
  changeSelection(-1);
}

void SavedLyricsLibrary::setSelectedRow(int row) {
  changeSelection(std::clamp(row, -1, count() - 1));
}

void SavedLyricsLibrary::changeSelection(int row) {
  if (row == m_selected) return;
  m_selected = row;
  if (m_observer) m_observer->selectionChanged(row);
}

}  // namespace files
