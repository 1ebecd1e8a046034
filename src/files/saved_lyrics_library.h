#pragma once

#include <array>
#include <string>
#include <vector>

#include "files/saved_lyrics_record.h"

namespace files {

// Receives every change of a SavedLyricsLibrary, so a list view can follow it.
class SavedLyricsLibraryObserver {
 public:
  virtual ~SavedLyricsLibraryObserver() = default;
  // Rows [first, first + count) were added.
  virtual void rowsInserted(int first, int count) = 0;
  // Row `row` was removed.
  virtual void rowRemoved(int row) = 0;
  // Field `field` of row `row` changed.
  virtual void fieldChanged(int row, int field) = 0;
  // Every row may have changed (delete all).
  virtual void rowsReset() = 0;
  // The selected row changed (-1: none).
  virtual void selectionChanged(int row) = 0;
};

// The saved-lyrics library while the editor runs: the rows of the library list, one
// SavedLyricsRecord each, in the order they were added, and one selected row.
class SavedLyricsLibrary {
 public:
  static constexpr int kColumnCount = SavedLyricsRecord::kFieldCount;
  // Column widths of the list view in pixels, in field order.
  static constexpr std::array<int, kColumnCount> kColumnWidths = {80, 80, 80, 60, 80, 100, 100};
  // Header text of column `column` (GBK); "" outside 0-6.
  static std::string columnHeader(int column);

  // Number of rows.
  int count() const { return static_cast<int>(m_rows.size()); }
  // The record of row `row`; an empty record outside 0..count-1.
  const SavedLyricsRecord& record(int row) const;
  // Field `field` of row `row`; "" outside the table.
  const std::string& field(int row, int field) const { return record(row).field(field); }
  // All rows, for readers that walk the whole library.
  const std::vector<SavedLyricsRecord>& records() const { return m_rows; }

  // Adds a row at the end and returns its index; the selection does not change.
  int append(SavedLyricsRecord record);
  // Adds several rows at the end with one notification.
  void appendAll(std::vector<SavedLyricsRecord> records);
  // Replaces one field of an existing row; false outside the table or when unchanged.
  bool setField(int row, int field, std::string text);
  // Removes row `row`; false outside 0..count-1. The selection follows its row, and a
  // removed selected row leaves none selected.
  bool deleteRow(int row);
  // Removes every row.
  void deleteAll();

  // The selected row, -1 when none.
  int selectedRow() const { return m_selected; }
  // Selects `row`, clamped to -1..count-1.
  void setSelectedRow(int row);

  // The observer (one view); nullptr to detach.
  void setObserver(SavedLyricsLibraryObserver* observer) { m_observer = observer; }

 private:
  void changeSelection(int row);

  std::vector<SavedLyricsRecord> m_rows;
  int m_selected = -1;
  SavedLyricsLibraryObserver* m_observer = nullptr;
};

}  // namespace files
