#pragma once

#include <string>
#include <vector>

namespace lyrics {

// Receives every change of a LyricsList, so a view can follow it.
class LyricsListObserver {
 public:
  virtual ~LyricsListObserver() = default;
  // Lines [first, first + count) were inserted.
  virtual void linesInserted(int first, int count) = 0;
  // Line `index` was removed.
  virtual void lineRemoved(int index) = 0;
  // The text of line `index` changed.
  virtual void lineChanged(int index) = 0;
  // Every line may have changed (clear, whole replacement).
  virtual void linesReset() = 0;
  // The selected index changed (-1: none).
  virtual void selectionChanged(int selected) = 0;
};

// The document: the ordered lyric lines (GBK bytes, no line breaks) and one selected index.
// Out-of-range indexes are harmless, and the selection follows its line through inserts
// and deletes.
class LyricsList {
 public:
  // Number of lines.
  int count() const { return static_cast<int>(m_lines.size()); }
  // The line's text; "" outside 0..count-1.
  const std::string& line(int index) const;
  // Replaces line `index`; false when out of range or unchanged.
  bool setLine(int index, std::string text);
  // Inserts before `index` (0..count); returns the index or -1 when out of range.
  int insertLine(int index, std::string text);
  // Appends at the end and returns the new index.
  int appendLine(std::string text);
  // Appends several lines at the end, with one notification.
  void appendLines(std::vector<std::string> lines);
  // Removes line `index`; false when out of range.
  bool deleteLine(int index);
  // Removes all lines.
  void clear();
  // Replaces every line at once (the same as clear and append, with one notification).
  void replaceAll(std::vector<std::string> lines);
  // Selected index, -1 when none.
  int selection() const { return m_selection; }
  // Selects `index` clamped to -1..count-1.
  void setSelection(int index);
  // All lines, for readers that walk the whole list.
  const std::vector<std::string>& lines() const { return m_lines; }

  // The observer (one view); nullptr to detach.
  void setObserver(LyricsListObserver* observer) { m_observer = observer; }

 private:
  void changeSelection(int selected);

  std::vector<std::string> m_lines;
  int m_selection = -1;
  LyricsListObserver* m_observer = nullptr;
};

}  // namespace lyrics
