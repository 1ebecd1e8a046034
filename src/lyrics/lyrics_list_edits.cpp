// The recording side of LyricsList: each change is recorded before it is made, and toggle()
// swaps the recorded state with the list's own, so one edit serves both undo and redo.
#include <utility>

#include "lyrics/lyrics_list.h"

namespace lyrics {

std::size_t LyricsEdit::heldBytes() const {
  std::size_t bytes = sizeof(LyricsEdit) + m_text.capacity() + m_lines.capacity() * sizeof(Span);
  for (const Block& block : m_blocks) bytes += sizeof(Block) + block.bytes->capacity();
  bytes += (m_tail.capacity() - m_tail.size()) * sizeof(std::string);
  for (const std::string& line : m_tail) bytes += sizeof(std::string) + line.capacity();
  return bytes;
}

void LyricsList::record(LyricsEdit edit) {
  // The recorder sees one edit at a time and must not change the list while it records.
  LyricsListRecorder* recorder = std::exchange(m_recorder, nullptr);
  recorder->recorded(std::move(edit));
  m_recorder = recorder;
}

void LyricsList::recordWhole() {
  LyricsEdit edit(LyricsEdit::Kind::Whole);
  edit.m_lines = std::move(m_lines);
  edit.m_blocks = std::move(m_blocks);
  edit.m_liveBytes = m_liveBytes;
  edit.m_storedBytes = m_storedBytes;
  resetStorage();
  record(std::move(edit));
}

void LyricsList::setFileForm(FileForm form) {
  if (form == m_fileForm) return;
  if (m_recorder) {
    LyricsEdit edit(LyricsEdit::Kind::Form);
    edit.m_form = m_fileForm;
    record(std::move(edit));
  }
  m_fileForm = form;
}

bool LyricsList::sameLines(const std::vector<std::string>& lines) const {
  if (lines.size() != m_lines.size()) return false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (view(m_lines[i]) != lines[i]) return false;
  }
  return true;
}

void LyricsList::swapWhole(LyricsEdit& edit) {
  std::swap(m_lines, edit.m_lines);
  std::swap(m_blocks, edit.m_blocks);
  std::swap(m_liveBytes, edit.m_liveBytes);
  std::swap(m_storedBytes, edit.m_storedBytes);
  m_selection = -1;
  if (m_observer) {
    m_observer->linesReset();
    m_observer->selectionChanged(-1);
  }
}

void LyricsList::toggle(LyricsEdit& edit) {
  LyricsListRecorder* recorder = std::exchange(m_recorder, nullptr);
  switch (edit.m_kind) {
    case LyricsEdit::Kind::Text: {
      std::string other(line(edit.m_index));
      setLine(edit.m_index, std::move(edit.m_text));
      edit.m_text = std::move(other);
      break;
    }
    case LyricsEdit::Kind::Inserted:
    case LyricsEdit::Kind::Removed: {
      // An inserted line is in the list before its first toggle, a removed one out of it.
      const bool in = (edit.m_kind == LyricsEdit::Kind::Inserted) != edit.m_tailOut;
      if (in) {
        edit.m_text = line(edit.m_index);
        deleteLine(edit.m_index);
      } else {
        insertLine(edit.m_index, std::move(edit.m_text));
        edit.m_text.clear();
      }
      edit.m_tailOut = !edit.m_tailOut;
      break;
    }
    case LyricsEdit::Kind::Whole:
      swapWhole(edit);
      break;
    case LyricsEdit::Kind::Appended:
      if (!edit.m_tailOut) {
        if (edit.m_index == 0) {
          // The whole list was appended to an empty one: move it out rather than copy it.
          swapWhole(edit);
        } else {
          for (int i = edit.m_index; i < count(); ++i) edit.m_tail.emplace_back(line(i));
          while (count() > edit.m_index) deleteLine(count() - 1);
        }
      } else if (edit.m_index == 0) {
        swapWhole(edit);
      } else {
        appendLines(edit.m_tail);
        edit.m_tail = {};
      }
      edit.m_tailOut = !edit.m_tailOut;
      break;
    case LyricsEdit::Kind::Form:
      std::swap(m_fileForm, edit.m_form);
      break;
  }
  m_recorder = recorder;
}

}  // namespace lyrics
