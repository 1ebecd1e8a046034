#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace playback {

// The song-information list: no row, or exactly row 0 describing the current song (GBK bytes).
// It is the only record of the song's path and format; its view follows it.
class SongRow {
 public:
  // Column indexes of row 0.
  enum Column { Title = 0, Singer = 1, Format = 2, Check = 3, Path = 4 };
  static constexpr int kColumnCount = 5;
  using Cells = std::array<std::string, kColumnCount>;

  // True when row 0 exists.
  bool hasRow() const { return m_hasRow; }
  // "Is a song loaded?" has two answers, which differ only for a re-opened saved entry that
  // has no song path: its row holds the format "格式" and an empty path.
  // True when row 0 describes a song (its format cell is filled). PlaySong asks this: without
  // a song it opens the dialog; for that entry it reports a wrong file.
  bool hasSong() const { return !cell(Format).empty(); }
  // True when row 0 names the song's file (its path cell is filled). TogglePause and
  // StartTestPlay ask this: without a file, that entry included, they do nothing.
  bool hasSongFile() const { return !cell(Path).empty(); }
  // Number of rows (0 or 1).
  int rowCount() const { return m_hasRow ? 1 : 0; }
  // Cell `column` of row `row`; "" for a missing row or column.
  const std::string& cell(int row, int column) const;
  // Cell of row 0.
  const std::string& cell(Column column) const { return cell(0, column); }
  // Replaces row 0 whole.
  void setRow(Cells cells);
  // Removes the row.
  void clear();
  // Index of the selected row, -1 when none.
  int selection() const { return m_selection; }
  // Selects `row` (clamped to -1..rowCount-1).
  void setSelection(int row);
  // Adds a listener called after every change of the row or the selection.
  void addListener(std::function<void()> listener) { m_listeners.push_back(std::move(listener)); }

 private:
  void notify();

  bool m_hasRow = false;
  Cells m_cells;
  int m_selection = -1;
  std::vector<std::function<void()>> m_listeners;
};

}  // namespace playback
