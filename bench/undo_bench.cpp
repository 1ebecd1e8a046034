// The undo history on a 60 MB document of about 1.8 million lines: a stamp with its undo step,
// an undo and a redo (median and p99 of each), the history's size after 10,000 stamps, and
// undoing the import of that document. Then what the steps of an ordinary song hold, against the
// history's budget.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "lyrics/lyrics_list.h"
#include "lyrics/undo_history.h"
#include "lyrics_generator.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-28s median %.4f ms  p99 %.4f ms  (%zu runs)\n", what, samples[samples.size() / 2],
              samples[samples.size() * 99 / 100], samples.size());
}

// The bytes the history holds for each kind of step on a song of about 3 KB.
void songSteps() {
  lyrics::LyricsList list;
  std::vector<std::string> sides{"singer", "song", "album", "editor", "1", "", "", "", "", ""};
  lyrics::UndoHistory history(list, {[&] { return sides; }, [&](const auto& s) { sides = s; }});
  list.replaceAll(lyrics::LyricsText::cutImported(bench::generateGbkLyrics(3000)));
  history.settle();
  std::size_t before = history.heldBytes();
  list.replaceAll(lyrics::LyricsText::cutImported(bench::generateGbkLyrics(3000)));
  history.settle();
  const std::size_t import = history.heldBytes() - before;
  before = history.heldBytes();
  for (int line = 0; line < list.count(); ++line) {
    list.setLine(line, "[01:02.03]" + std::string(list.line(line)));
    history.settle();
  }
  const std::size_t stamp = (history.heldBytes() - before) / static_cast<std::size_t>(list.count());
  before = history.heldBytes();
  for (int line = 0; line < list.count(); ++line) {
    list.setLine(line, "[01:02.04]" + std::string(list.line(line)).substr(10));
  }
  history.settle();
  const std::size_t shift = history.heldBytes() - before;
  std::printf(
      "a song of %d lines: an import replacing another holds %zu bytes, a stamp %zu, a shift of "
      "every line %zu; the budget of %zu MB keeps %zu stamps or %zu imports\n",
      list.count(), import, stamp, shift, lyrics::UndoHistory::kBudgetBytes >> 20,
      lyrics::UndoHistory::kBudgetBytes / stamp, lyrics::UndoHistory::kBudgetBytes / import);
}

}  // namespace

int main() {
  lyrics::LyricsList list;
  std::vector<std::string> sides{"singer", "song", "album", "editor", "1", "", "", "", "", ""};
  lyrics::UndoHistory history(list, {[&] { return sides; }, [&](const auto& s) { sides = s; }});
  list.replaceAll(lyrics::LyricsText::cutImported(std::string("first\r\ndocument\r\n")));
  list.setSelection(0);
  history.settle();

  std::string text = bench::generateGbkLyrics(60u << 20);
  const auto importStart = Clock::now();
  list.replaceAll(lyrics::LyricsText::cutImported(std::move(text)));
  list.setSelection(0);
  history.settle();
  std::printf("import: %d lines, %.1f ms\n", list.count(), ms(Clock::now() - importStart));

  const std::size_t before = history.heldBytes();
  std::vector<double> stamps;
  constexpr int kStamps = 10000;
  for (int i = 0; i < kStamps; ++i) {
    const int line = (i * 179) % list.count();
    list.setSelection(line);
    const auto start = Clock::now();
    list.setLine(line, "[01:02.03]" + std::string(list.line(line)));
    list.setSelection(line + 1);
    history.settle();
    stamps.push_back(ms(Clock::now() - start));
  }
  report("stamp with its undo step", stamps);
  std::printf("history after %d stamps: %.2f MB\n", kStamps,
              static_cast<double>(history.heldBytes() - before) / (1 << 20));

  std::vector<double> undos;
  std::vector<double> redos;
  for (int i = 0; i < 1000; ++i) {
    auto start = Clock::now();
    history.undo();
    undos.push_back(ms(Clock::now() - start));
  }
  for (int i = 0; i < 1000; ++i) {
    auto start = Clock::now();
    history.redo();
    redos.push_back(ms(Clock::now() - start));
  }
  report("undo", undos);
  report("redo", redos);

  // The stamps first, each one step, then the import: the previous document comes back.
  const auto start = Clock::now();
  for (int i = 0; i < kStamps; ++i) history.undo();
  const auto importUndo = Clock::now();
  history.undo();
  std::printf("undo %d stamps: %.1f ms; undo the import: %.2f ms (%d lines back)\n", kStamps,
              ms(importUndo - start), ms(Clock::now() - importUndo), list.count());
  songSteps();
  return 0;
}
