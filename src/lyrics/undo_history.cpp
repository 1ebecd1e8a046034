#include "lyrics/undo_history.h"

#include <utility>

#include "platform/freed_memory.h"

namespace lyrics {

namespace {

// Steps freed together past this size hand their memory back to the system at once; the C
// library would keep most of a replaced document's line positions resident otherwise.
constexpr std::size_t kReturnFreedBytes = std::size_t{1} << 20;

}  // namespace

UndoHistory::UndoHistory(LyricsList& list, Sides sides, std::size_t budgetBytes)
    : m_list(list), m_sides(std::move(sides)), m_budgetBytes(budgetBytes) {
  m_settledSides = m_sides.read();
  m_settledSelection = m_list.selection();
  m_list.setRecorder(this);
}

UndoHistory::~UndoHistory() { m_list.setRecorder(nullptr); }

void UndoHistory::recorded(LyricsEdit edit) {
  m_pending.push_back(std::move(edit));
  if (m_changed) m_changed();
}

void UndoHistory::selectionMoved() {
  if (m_changed) m_changed();
}

void UndoHistory::mergeWithSameName(std::string name) { m_pendingName = std::move(name); }

std::size_t UndoHistory::sizeOf(const Step& step) const {
  // Each edit's own size is in its heldBytes(); the vector's room beyond the edits is not.
  std::size_t bytes =
      sizeof(Step) + (step.edits.capacity() - step.edits.size()) * sizeof(LyricsEdit);
  for (const LyricsEdit& edit : step.edits) bytes += edit.heldBytes();
  for (const auto* sides : {&step.sidesBefore, &step.sidesAfter}) {
    for (const std::string& text : *sides) bytes += sizeof(std::string) + text.capacity();
  }
  return bytes;
}

void UndoHistory::settle() {
  std::vector<std::string> sides = m_sides.read();
  std::string name = std::exchange(m_pendingName, {});
  if (m_pending.empty()) {
    m_settledSides = std::move(sides);
    m_settledSelection = m_list.selection();
    return;
  }
  std::size_t freed = 0;
  for (Step& step : m_undone) freed += step.bytes;
  m_heldBytes -= freed;
  m_undone.clear();
  if (!name.empty() && !m_done.empty() && m_done.back().name == name) {
    // The same nudge again: the step now ends where this press ended.
    Step& last = m_done.back();
    m_heldBytes -= last.bytes;
    for (LyricsEdit& edit : m_pending) last.edits.push_back(std::move(edit));
    last.selectionAfter = m_list.selection();
    if (sides != m_settledSides || !last.sidesAfter.empty()) {
      if (last.sidesBefore.empty()) last.sidesBefore = m_settledSides;
      last.sidesAfter = sides;
    }
    last.bytes = sizeOf(last);
    m_heldBytes += last.bytes;
  } else {
    Step step;
    step.edits = std::move(m_pending);
    step.selectionBefore = m_settledSelection;
    step.selectionAfter = m_list.selection();
    if (sides != m_settledSides) {
      step.sidesBefore = m_settledSides;
      step.sidesAfter = sides;
    }
    step.name = std::move(name);
    step.bytes = sizeOf(step);
    m_heldBytes += step.bytes;
    m_done.push_back(std::move(step));
  }
  m_pending.clear();
  m_settledSides = std::move(sides);
  m_settledSelection = m_list.selection();
  freed += dropOldestBeyondBudget();
  if (freed >= kReturnFreedBytes) platform::returnFreedMemory();
}

// Runs only right after a step was made, when there is no step to redo: the budget never takes
// what the user has just undone. Undo and redo only move contents between the list and the
// history, so walking back and forth through the steps keeps every one of them.
std::size_t UndoHistory::dropOldestBeyondBudget() {
  std::size_t dropped = 0;
  while (m_heldBytes > m_budgetBytes && m_done.size() > 1) {
    dropped += m_done.front().bytes;
    m_heldBytes -= m_done.front().bytes;
    m_done.pop_front();
  }
  return dropped;
}

void UndoHistory::recount(Step& step) {
  m_heldBytes -= step.bytes;
  step.bytes = sizeOf(step);
  m_heldBytes += step.bytes;
}

void UndoHistory::restore(Step& step, bool forward) {
  if (forward) {
    for (LyricsEdit& edit : step.edits) m_list.toggle(edit);
  } else {
    for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) m_list.toggle(*edit);
  }
  // The edits now hold what the list held: the lines the step made, or those it replaced.
  recount(step);
  m_list.setSelection(forward ? step.selectionAfter : step.selectionBefore);
  const std::vector<std::string>& sides = forward ? step.sidesAfter : step.sidesBefore;
  // Restoring the texts notifies their views, which may record nothing: the list is settled.
  if (!sides.empty()) m_sides.write(sides);
  m_settledSides = m_sides.read();
  m_settledSelection = m_list.selection();
}

bool UndoHistory::undo() {
  settle();
  if (m_done.empty()) return false;
  Step step = std::move(m_done.back());
  m_done.pop_back();
  restore(step, false);
  // An undone step never merges with the next press of its nudge.
  step.name.clear();
  m_undone.push_back(std::move(step));
  return true;
}

bool UndoHistory::redo() {
  settle();
  if (m_undone.empty()) return false;
  Step step = std::move(m_undone.back());
  m_undone.pop_back();
  restore(step, true);
  m_done.push_back(std::move(step));
  return true;
}

}  // namespace lyrics
