#include "lyrics/lyrics_list.h"

#include <gtest/gtest.h>

#include "lyrics/text_rules.h"

using namespace lyrics;

namespace {

LyricsList listOf(std::initializer_list<const char*> texts) {
  LyricsList list;
  for (const char* text : texts) list.appendLine(text);
  return list;
}

// Counts notifications so the view contract can be checked.
struct CountingObserver : LyricsListObserver {
  void linesInserted(int, int count) override { inserted += count; }
  void lineRemoved(int) override { ++removed; }
  void lineChanged(int) override { ++changed; }
  void linesReset() override { ++resets; }
  void selectionChanged(int selected) override { selections.push_back(selected); }
  int inserted = 0, removed = 0, changed = 0, resets = 0;
  std::vector<int> selections;
};

}  // namespace

TEST(LyricsList, OutOfRangeIndexesAreHarmless) {
  LyricsList list = listOf({"a", "b"});
  EXPECT_EQ(list.line(-1), "");
  EXPECT_EQ(list.line(2), "");
  EXPECT_FALSE(list.setLine(2, "x"));
  EXPECT_FALSE(list.setLine(0, "a"));  // unchanged text
  EXPECT_EQ(list.insertLine(-1, "x"), -1);
  EXPECT_EQ(list.insertLine(3, "x"), -1);
  EXPECT_EQ(list.insertLine(2, "c"), 2);  // count appends
  EXPECT_FALSE(list.deleteLine(3));
  EXPECT_FALSE(list.deleteLine(-1));
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LyricsList, SelectionIsClamped) {
  LyricsList list = listOf({"a", "b", "c"});
  list.setSelection(3);
  EXPECT_EQ(list.selection(), 2);
  list.setSelection(-2);
  EXPECT_EQ(list.selection(), -1);
  list.setSelection(1);
  EXPECT_EQ(list.selection(), 1);
  LyricsList empty;
  for (int value : {-5, -1, 0, 1, 7}) {
    empty.setSelection(value);
    EXPECT_EQ(empty.selection(), -1) << value;
  }
}

TEST(LyricsList, SelectionFollowsItsLine) {
  LyricsList list = listOf({"a", "b", "c", "d"});
  list.setSelection(2);  // "c"
  list.insertLine(2, "x");
  EXPECT_EQ(list.selection(), 3);
  EXPECT_EQ(list.line(list.selection()), "c");
  list.insertLine(0, "y");
  EXPECT_EQ(list.line(list.selection()), "c");
  list.insertLine(5, "after");
  EXPECT_EQ(list.line(list.selection()), "c");
  list.deleteLine(0);
  EXPECT_EQ(list.line(list.selection()), "c");
  list.deleteLine(list.count() - 1);
  EXPECT_EQ(list.line(list.selection()), "c");
  list.setLine(list.selection(), "c2");
  EXPECT_EQ(list.line(list.selection()), "c2");
  list.deleteLine(list.selection());
  EXPECT_EQ(list.selection(), -1);
}

TEST(LyricsList, ClearAndReplaceDropTheSelectionAndNotifyTheView) {
  LyricsList list = listOf({"a", "b"});
  CountingObserver observer;
  list.setObserver(&observer);
  list.setSelection(1);
  list.appendLines({"c", "d"});
  EXPECT_EQ(observer.inserted, 2);
  EXPECT_EQ(list.selection(), 1);
  list.setLine(0, "z");
  list.deleteLine(0);
  EXPECT_EQ(observer.changed, 1);
  EXPECT_EQ(observer.removed, 1);
  EXPECT_EQ(list.selection(), 0);
  list.replaceAll({"x"});
  EXPECT_EQ(list.selection(), -1);
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(observer.resets, 2);
  EXPECT_EQ(observer.selections, (std::vector<int>{1, 0, -1}));
}

TEST(LyricsList, KeepsEveryLineThroughEditsBlocksAndCompaction) {
  // The list against a plain vector of strings, over edits that fill several blocks of changed
  // lines, leave most bytes dropped (which compacts the list) and mix in imported texts.
  LyricsList list;
  std::vector<std::string> expected;
  list.replaceAll(LyricsText::cut("first\r\n\r\n" + std::string(3000, 'x') + "\r\nlast"));
  expected = {"first", "", std::string(3000, 'x'), "last"};
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  };
  for (int step = 0; step < 20000; ++step) {
    const int count = static_cast<int>(expected.size());
    // Lines up to 600 KB, so changed lines run past a block's room now and then.
    const std::size_t length = next(50) == 0 ? next(600'000) : next(40);
    std::string text(length, static_cast<char>('a' + next(26)));
    if (!text.empty()) text[0] = static_cast<char>('0' + step % 10);
    switch (next(6)) {
      case 0:
      case 1: {
        const int index =
            count == 0 ? 0 : static_cast<int>(next(static_cast<std::uint32_t>(count)));
        if (count > 0) {
          list.setLine(index, text);
          expected[static_cast<std::size_t>(index)] = text;
        }
        break;
      }
      case 2: {
        const int index = static_cast<int>(next(static_cast<std::uint32_t>(count + 1)));
        ASSERT_EQ(list.insertLine(index, text), index);
        expected.insert(expected.begin() + index, text);
        break;
      }
      case 3:
        if (count > 0) {
          const int index = static_cast<int>(next(static_cast<std::uint32_t>(count)));
          list.deleteLine(index);
          expected.erase(expected.begin() + index);
        }
        break;
      case 4:
        // A line copied from the list itself, as moving a line up does.
        if (count > 0) {
          const int from = static_cast<int>(next(static_cast<std::uint32_t>(count)));
          list.appendLine(std::string(list.line(from)));
          expected.push_back(expected[static_cast<std::size_t>(from)]);
        }
        break;
      default:
        if (next(200) == 0) {
          list.appendText(LyricsText::cut("imported\r\n" + text + "\r\n"));
          expected.push_back("imported");
          expected.push_back(text);
        }
        break;
    }
    ASSERT_EQ(list.count(), static_cast<int>(expected.size())) << step;
  }
  EXPECT_EQ(list.lines(), expected);
  std::string joined;
  for (const auto& line : expected) joined += line + "\r\n";
  EXPECT_EQ(joinLyricsText(list), joined);
  list.replaceAll(list.lines());
  EXPECT_EQ(list.lines(), expected);
}

TEST(LyricsText, CutsLikeSplitLyricsTextAndKeepsTheBytes) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\na", {"", "a"}},
      {"", {}},
      {"a\nb\rc", {"a\nb\rc"}},
      // A lead byte takes the CR with it: no break there, and one after the LF's lone byte.
      {"x\x81\r\ny\r\n", {"x\x81\r\ny"}},
      {"\x81", {"\x81"}},
      {"ab\r\n\xC4", {"ab", "\xC4"}},
      // Two lines of a million lone CRs: checked against splitBytes only.
      {std::string(2'000'000, '\r').replace(1'000'000, 2, "\r\n"), {}},
  };
  for (const auto& c : cases) {
    const LyricsText cut = LyricsText::cut(c.text);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < cut.lineCount(); ++i) lines.emplace_back(cut.line(i));
    if (c.text.size() < 100) {
      EXPECT_EQ(lines, c.lines) << c.text;
    }
    EXPECT_EQ(lines, splitBytes(c.text, kLineBreak)) << c.text.size();
    EXPECT_EQ(cut.bytes(), c.text);
  }
  // A cut that is called off keeps the lines up to there and no line after.
  std::string many;
  for (int i = 0; i < 3'000'000; ++i) many += "l\r\n";
  const LyricsText part = LyricsText::cut(many, [](std::size_t) { return false; });
  EXPECT_GT(part.lineCount(), 0u);
  EXPECT_LT(part.lineCount(), 3'000'000u);
  EXPECT_EQ(part.line(part.lineCount() - 1), "l");
}
