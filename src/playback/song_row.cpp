#include "playback/song_row.h"

#include <algorithm>

namespace playback {

const std::string& SongRow::cell(int row, int column) const {
  static const std::string empty;
  if (!m_hasRow || row != 0 || column < 0 || column >= kColumnCount) return empty;
  return m_cells[static_cast<std::size_t>(column)];
}

void SongRow::setRow(Cells cells) {
  m_cells = std::move(cells);
  m_hasRow = true;
  // A rebuilt row is a new row: the old selection does not carry over.
  m_selection = -1;
  notify();
}

void SongRow::clear() {
  if (!m_hasRow) return;
  m_hasRow = false;
  m_cells = {};
  m_selection = -1;
  notify();
}

void SongRow::setSelection(int row) {
  row = std::clamp(row, -1, rowCount() - 1);
  if (row == m_selection) return;
  m_selection = row;
  notify();
}

void SongRow::notify() {
  for (const auto& listener : m_listeners) listener();
}

}  // namespace playback
