// Random sequences of the list's changing operations with undos and redos between them: undoing
// every step gives back the first document byte for byte, redoing every step the last one. The
// same sequence again under a budget of a few steps, which drops the oldest ones: undoing every
// step kept gives the same document each time, and redoing them the last one.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/undo_history.h"

namespace {

struct Snapshot {
  std::vector<std::string> lines;
  int selection;
  lyrics::FileForm form;
};

struct Input {
  std::string_view bytes;
  std::size_t at = 0;
  bool done() const { return at >= bytes.size(); }
  unsigned char next() { return done() ? 0 : static_cast<unsigned char>(bytes[at++]); }
  std::string text() {
    const std::size_t length = next() % 12;
    std::string out(bytes.substr(std::min(at, bytes.size()), length));
    at += length;
    return out;
  }
};

// Runs the operations of `bytes` with a history of `budgetBytes`.
void run(std::string_view bytes, std::size_t budgetBytes) {
  Input in{bytes};
  lyrics::LyricsList list;
  list.replaceAll(std::vector<std::string>{"[00:01.00]a", "b", ""});
  list.setSelection(1);
  std::vector<std::string> sides{"singer", ""};
  const lyrics::UndoHistory::Sides access{[&] { return sides; }, [&](const auto& s) { sides = s; }};
  lyrics::UndoHistory history(list, access, budgetBytes);
  const auto snapshot = [&] { return Snapshot{list.lines(), list.selection(), list.fileForm()}; };
  const Snapshot first = snapshot();

  while (!in.done()) {
    const int index = in.next() % 6 - 1;
    switch (in.next() % 15) {
      case 0:
        list.setLine(index, in.text());
        break;
      case 1:
        list.insertLine(index, in.text());
        break;
      case 2:
        list.appendLine(in.text());
        break;
      case 3:
        list.appendLines({in.text(), in.text()});
        break;
      case 4:
        list.appendText(lyrics::LyricsText::cutImported(in.text()));
        break;
      case 5:
        list.deleteLine(index);
        break;
      case 6:
        list.clear();
        break;
      case 7:
        list.replaceAll(std::vector<std::string>{in.text()});
        break;
      case 8:
        list.replaceAll(lyrics::LyricsText::cutImported(in.text()));
        break;
      case 9:
        list.setSelection(index);
        break;
      case 10:
        list.setFileForm({lyrics::FileForm::Encoding::Utf8, lyrics::FileForm::LineEnd::Lf});
        break;
      case 11:
        sides[in.next() % 2] = in.text();
        break;
      case 12:
        history.mergeWithSameName("nudge" + std::to_string(index));
        break;
      case 13:
        history.undo();
        break;
      case 14:
        history.redo();
        break;
    }
    // Several operations may form one action.
    if (in.next() % 2 == 0) history.settle();
  }
  history.settle();
  // The last document: every step done. The selection and the side texts are what the steps
  // left, which changes outside a step (a click, typing in a box) are not part of.
  while (history.redo()) {
  }
  // A click after the last step moved the selection outside any step: the last step's own
  // selection is the one redo brings back.
  if (history.undo()) history.redo();
  const Snapshot last = snapshot();
  while (history.undo()) {
  }
  const Snapshot oldest = snapshot();
  // Far below the editor's budget these few operations keep every step.
  if (budgetBytes == lyrics::UndoHistory::kBudgetBytes) {
    FUZZ_CHECK(oldest.lines == first.lines);
    FUZZ_CHECK(oldest.form == first.form);
  }
  while (history.redo()) {
  }
  FUZZ_CHECK(list.lines() == last.lines);
  FUZZ_CHECK(list.fileForm() == last.form);
  FUZZ_CHECK(list.selection() == last.selection);
  while (history.undo()) {
  }
  FUZZ_CHECK(list.lines() == oldest.lines);
  FUZZ_CHECK(list.fileForm() == oldest.form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  run(fuzzing::bytesOf(data, size), lyrics::UndoHistory::kBudgetBytes);
  // A budget of one to a few dozen small steps.
  if (size > 0) run(fuzzing::bytesOf(data, size), std::size_t{200} * (1 + data[0] % 32));
  return 0;
}
