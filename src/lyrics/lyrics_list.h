#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/file_form.h"
#include "lyrics/lyrics_snapshot.h"
#include "lyrics/lyrics_text.h"

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

class LyricsList;

// One recorded change of a LyricsList: what toggle() needs to take it back, and then to bring it
// again. Only the list reads it.
class LyricsEdit {
 public:
  LyricsEdit(LyricsEdit&&) noexcept = default;
  LyricsEdit& operator=(LyricsEdit&&) noexcept = default;
  // Bytes it holds, for the history's size.
  std::size_t heldBytes() const;

 private:
  friend class LyricsList;
  enum class Kind { Text, Inserted, Removed, Whole, Appended, Form };
  using Span = LyricsText::Span;
  // Shared with snapshots: bytes a line has used are never changed, only appended after.
  struct Block {
    std::uint32_t base = 0;
    bool growing = false;
    std::shared_ptr<std::string> bytes;
  };
  explicit LyricsEdit(Kind kind, int index = 0) : m_kind(kind), m_index(index) {}

  Kind m_kind;
  int m_index;
  // Text: the other text of line m_index; Removed/Inserted: the line's text while it is out.
  std::string m_text;
  // Whole: the other content of the list, swapped in and out whole.
  std::vector<Span> m_lines;
  std::vector<Block> m_blocks;
  std::uint64_t m_liveBytes = 0;
  std::uint64_t m_storedBytes = 0;
  FileForm m_form;
  // Appended: the lines from m_index on while they are taken back.
  std::vector<std::string> m_tail;
  bool m_tailOut = false;
};

// Receives every change of a LyricsList's lines as an edit that can be taken back.
class LyricsListRecorder {
 public:
  virtual ~LyricsListRecorder() = default;
  // `edit` is about to be made; the list has not changed yet.
  virtual void recorded(LyricsEdit edit) = 0;
  // The selection moved (it is no edit: a step remembers where it was before and after).
  virtual void selectionMoved() = 0;
};

// The document: the ordered lyric lines (GBK bytes, no line breaks) and one selected index.
// Out-of-range indexes are harmless, and the selection follows its line through inserts
// and deletes.
//
// Lines are kept as spans of a few large byte blocks rather than as strings of their own: an
// imported text stays one block, its CR LF breaks in place, and a line costs 8 bytes beside
// its text. Changed lines are written into a fresh block; the old bytes are dropped once they
// outweigh the live ones. Positions are 32-bit, so the lines of one list hold less than 4 GB.
class LyricsList {
 public:
  // Number of lines.
  int count() const { return static_cast<int>(m_lines.size()); }
  // The line's text; "" outside 0..count-1. The view lasts until the list next changes.
  std::string_view line(int index) const;
  // Replaces line `index`; false when out of range or unchanged.
  bool setLine(int index, std::string text);
  // Inserts before `index` (0..count); returns the index or -1 when out of range.
  int insertLine(int index, std::string text);
  // Appends at the end and returns the new index.
  int appendLine(std::string text);
  // Appends several lines at the end, with one notification.
  void appendLines(const std::vector<std::string>& lines);
  // Appends the lines of `text`, keeping its bytes as they are, with one notification.
  void appendText(LyricsText text);
  // Removes line `index`; false when out of range.
  bool deleteLine(int index);
  // Removes all lines; the document takes the designed form (GBK, CR LF) again.
  void clear();
  // Replaces every line at once (clear and append with one notification, the form kept).
  void replaceAll(const std::vector<std::string>& lines);
  // Replaces every line with those of `text`, keeping its bytes as they are.
  void replaceAll(LyricsText text);
  // Selected index, -1 when none.
  int selection() const { return m_selection; }
  // Selects `index` clamped to -1..count-1.
  void setSelection(int index);
  // The form of the file the lines were imported from, which the lyrics files are written in.
  const FileForm& fileForm() const { return m_fileForm; }
  // Sets the form the lyrics files are written in.
  void setFileForm(FileForm form);
  // A copy of all lines, for small lists and tests; readers of a large list walk line().
  std::vector<std::string> lines() const;
  // The lines as they are now, for another thread; `reuse` is the storage of an earlier
  // snapshot's positions (LyricsSnapshot::releaseSpans), filled without allocating.
  LyricsSnapshot snapshot(std::vector<LyricsText::Span> reuse = {}) const;

  // The observer (one view); nullptr to detach.
  void setObserver(LyricsListObserver* observer) { m_observer = observer; }
  // The recorder of changes (the undo history); nullptr to detach.
  void setRecorder(LyricsListRecorder* recorder) { m_recorder = recorder; }
  // Takes `edit` back, or brings it again after it was taken back, without recording it. Edits
  // are toggled in the reverse order of their making to undo, in their order to redo.
  void toggle(LyricsEdit& edit);

 private:
  using Span = LyricsText::Span;
  // Bytes at positions [base, base + bytes.size()) of the list's one address range.
  using Block = LyricsEdit::Block;

  void record(LyricsEdit edit);
  // Records the whole content, which the caller is about to replace, and moves it out.
  void recordWhole();
  void swapWhole(LyricsEdit& edit);
  bool sameLines(const std::vector<std::string>& lines) const;

  void changeSelection(int selected);
  std::string_view view(Span span) const;
  // Where `text` now stands, copied into the last block when it is a growing one with room.
  Span store(std::string_view text);
  // Appends a fixed block and returns its base.
  std::uint32_t addBlock(std::string bytes);
  // Position just past the last block.
  std::uint64_t end() const;
  void resetStorage();
  // Rewrites the live bytes into one block once the dropped ones outweigh them.
  void compactIfWasteful();
  void compact();

  std::vector<Span> m_lines;
  std::vector<Block> m_blocks;
  // Bytes of the lines themselves, without what replaced or deleted lines left behind.
  std::uint64_t m_liveBytes = 0;
  // Bytes written into the blocks, dropped ones included.
  std::uint64_t m_storedBytes = 0;
  int m_selection = -1;
  FileForm m_fileForm;
  LyricsListObserver* m_observer = nullptr;
  LyricsListRecorder* m_recorder = nullptr;
};

// JoinLyricsText over the lines of `list`: each line followed by CR LF, the last one included.
std::string joinLyricsText(const LyricsList& list);
// The same with each line followed by `lineBreak`.
std::string joinLyricsText(const LyricsList& list, std::string_view lineBreak);

}  // namespace lyrics
