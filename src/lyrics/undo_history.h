#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "lyrics/lyrics_list.h"

namespace lyrics {

// The undo and redo history of the document. Every change of the lines is recorded by the list
// itself; the changes made before the next settle() form one step, which also remembers the
// selection and the texts beside the lines (the header boxes and the song row) before and after.
// Undo and redo restore those texts only when the step changed them.
//
// The steps share a byte budget: when making a step takes them past it, the oldest steps go,
// each one whole, until they fit again or only the new step is left, which stays whatever its
// size. Undo then stops where the oldest step kept begins.
class UndoHistory : private LyricsListRecorder {
 public:
  // The texts beside the lines: how to read them and how to put them back.
  struct Sides {
    std::function<std::vector<std::string>()> read;
    std::function<void(const std::vector<std::string>&)> write;
  };

  // The budget of the editor's history. An ordinary step of a song holds a few hundred bytes
  // (a stamp) to some kilobytes (an import, a shift of every line), so it keeps about a hundred
  // thousand stamps. A step that replaced or cleared a document larger than the budget stays
  // only as long as it is the newest, so the history never holds such a document twice.
  static constexpr std::size_t kBudgetBytes = std::size_t{32} << 20;

  // Records the changes of `list`, which must outlive the history; the steps hold at most
  // `budgetBytes` unless the newest one alone holds more.
  UndoHistory(LyricsList& list, Sides sides, std::size_t budgetBytes = kBudgetBytes);
  ~UndoHistory() override;
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Ends the user action under way (call it after selection moves too): its changes, if any, become
  // one step. Changes of the side texts alone make no step but are the state the next step starts
  // from.
  void settle();
  // Names the action under way so that a step of the same name right after the previous one
  // merges into it (repeated presses of one nudge on one line).
  void mergeWithSameName(std::string name);
  // Called after each recorded change, so the owner can settle() when the action ends.
  void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }
  // Takes the last step back; false when there is none.
  bool undo();
  // Brings the last undone step again; false when there is none.
  bool redo();
  bool canUndo() const { return !m_done.empty(); }
  bool canRedo() const { return !m_undone.empty(); }
  // Bytes the steps hold, those that can be redone included.
  std::size_t heldBytes() const { return m_heldBytes; }

 private:
  struct Step {
    std::vector<LyricsEdit> edits;
    int selectionBefore = -1;
    int selectionAfter = -1;
    std::vector<std::string> sidesBefore;
    std::vector<std::string> sidesAfter;
    std::string name;
    std::size_t bytes = 0;
  };

  void recorded(LyricsEdit edit) override;
  void selectionMoved() override;
  void restore(Step& step, bool forward);
  std::size_t sizeOf(const Step& step) const;
  // Counts `step` again after undo or redo swapped its contents with the list's.
  void recount(Step& step);
  // Drops the oldest steps until the rest fit the budget or one is left; the bytes dropped.
  std::size_t dropOldestBeyondBudget();

  LyricsList& m_list;
  Sides m_sides;
  // Oldest first; the budget takes steps from the front.
  std::deque<Step> m_done;
  std::vector<Step> m_undone;
  // The action under way.
  std::vector<LyricsEdit> m_pending;
  std::string m_pendingName;
  // The selection and the side texts when the last action ended.
  int m_settledSelection = -1;
  std::vector<std::string> m_settledSides;
  std::size_t m_heldBytes = 0;
  std::size_t m_budgetBytes;
  std::function<void()> m_changed;
};

}  // namespace lyrics
