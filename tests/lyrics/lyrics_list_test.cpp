#include "lyrics/lyrics_list.h"

#include <gtest/gtest.h>

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
