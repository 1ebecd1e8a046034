#include "lyrics/undo_history.h"

#include <gtest/gtest.h>

// Each step replaces the document with one line of some kilobytes, so it holds the document
// before it (the first one holds the empty list). Past the budget the oldest whole steps go, the
// newest stays whatever its size, and undo and redo work up to where the history now begins.
TEST(UndoHistory, TheBudgetDropsTheOldestWholeStepsAndKeepsTheNewest) {
  struct Case {
    const char* name;
    std::size_t budgetKb;
    std::vector<std::size_t> documentsKb;
    std::size_t kept;  // the newest steps that can still be undone
  };
  const Case cases[] = {
      {"everything fits", 64, {10, 10, 10}, 3},
      {"the oldest go first", 25, {10, 10, 10, 10}, 2},
      {"small steps keep a large one before them", 16, {4, 12, 1, 1}, 2},
      {"the newest stays whatever its size", 4, {1, 10, 10}, 1},
  };
  constexpr std::size_t kStepOverhead = 1024;  // the step and edit beside the document's bytes
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    lyrics::LyricsList list;
    lyrics::UndoHistory history(list, {[] { return std::vector<std::string>{}; }, [](auto&) {}},
                                test.budgetKb << 10);
    std::vector<std::vector<std::string>> documents{{}};
    const auto bytesOf = [&](std::size_t i) {
      return documents[i].empty() ? 0 : documents[i][0].size();
    };
    for (std::size_t kb : test.documentsKb) {
      documents.push_back({std::string(kb << 10, static_cast<char>('a' + documents.size()))});
      list.replaceAll(documents.back());
      history.settle();
    }
    // A step holds the document it replaced, or once undone the one it made, and little else.
    const std::size_t last = documents.size() - 1;
    const auto expectHeld = [&](std::size_t first, std::size_t end) {
      std::size_t bytes = 0;
      for (std::size_t i = first; i < end; ++i) bytes += bytesOf(i);
      EXPECT_GE(history.heldBytes(), bytes);
      EXPECT_LT(history.heldBytes(), bytes + test.kept * kStepOverhead);
    };
    expectHeld(last - test.kept, last);

    for (std::size_t i = 0; i < test.kept; ++i) ASSERT_TRUE(history.undo());
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(list.lines(), documents[last - test.kept]);
    expectHeld(last - test.kept + 1, last + 1);
    for (std::size_t i = 0; i < test.kept; ++i) ASSERT_TRUE(history.redo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(list.lines(), documents.back());
    expectHeld(last - test.kept, last);
  }
}
