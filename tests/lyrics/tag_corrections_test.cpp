#include "lyrics/tag_corrections.h"

#include <gtest/gtest.h>

#include "support/fixed_time_tag.h"
#include "support/recording_prompter.h"

namespace {

struct Corrections {
  lyrics::LyricsList list;
  testsupport::FixedTimeTag clock;
  testsupport::RecordingPrompter prompter;
  lyrics::UndoHistory history{list, {[] { return std::vector<std::string>{}; }, [](auto&) {}}};
  lyrics::TagCorrections commands{list, clock, history, prompter};
};

}  // namespace

TEST(TagCorrections, EachCommandOnATableOfLines) {
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    void (*run)(lyrics::TagCorrections&);
    int selected;
    Lines before;
    Lines after;
    int selectedAfter;
  };
  const auto restamp = [](lyrics::TagCorrections& c) { c.restampLine(); };
  const auto align = [](lyrics::TagCorrections& c) { c.alignToCurrentTime(); };
  const auto earlier = [](lyrics::TagCorrections& c) { c.nudge(-10); };
  const auto later = [](lyrics::TagCorrections& c) { c.nudge(1); };
  // The clock reads [00:12.34] throughout.
  const Case cases[] = {
      {"restamp a full tag",
       restamp,
       0,
       {"[00:10.00][00:50.00]a", "b"},
       {"[00:12.34][00:50.00]a", "b"},
       1},
      {"restamp a short tag", restamp, 0, {"[00:10]a"}, {"[00:12.34]a"}, 0},
      {"restamp no tag", restamp, 1, {"x", "[ti:ab]"}, {"x", "[00:12.34][ti:ab]"}, 1},
      {"align moves later tags by the same difference",
       align,
       1,
       {"[00:05.00]a", "[00:10.00]b", "[00:20.00][01:00]chorus", "[00:10.00]same", "c"},
       {"[00:05.00]a", "[00:12.34]b", "[00:22.34][01:02.34]chorus", "[00:10.00]same", "c"},
       2},
      {"align earlier",
       align,
       0,
       {"[00:20.00]a", "[00:20.01]b", "[00:19.99]c"},
       {"[00:12.34]a", "[00:12.35]b", "[00:19.99]c"},
       1},
      {"align without a tag", align, 0, {"a", "[00:20.00]b"}, {"a", "[00:20.00]b"}, 0},
      {"nudge earlier", earlier, 0, {"[01:00.05]a"}, {"[00:59.95]a"}, 0},
      {"nudge a short tag", later, 0, {"[00:01]a"}, {"[00:01.01]a"}, 0},
      {"nudge never below zero", earlier, 0, {"[00:00.04]a"}, {"[00:00.00]a"}, 0},
      {"nudge a header line", later, 0, {"[ti:abcde]"}, {"[ti:abcde]"}, 0},
      {"nudge past 99 minutes", later, 0, {"[99:59.99]a"}, {"[100:00.00]a"}, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Corrections c;
    c.clock.set("[00:12.34]");
    c.list.replaceAll(test.before);
    c.list.setSelection(test.selected);
    test.run(c.commands);
    EXPECT_EQ(c.list.lines(), test.after);
    EXPECT_EQ(c.list.selection(), test.selectedAfter);
    EXPECT_TRUE(c.prompter.shown.empty());
  }
}

TEST(TagCorrections, RepeatedNudgesOnOneLineAreOneStep) {
  Corrections c;
  c.list.replaceAll(std::vector<std::string>{"[00:01.00]a", "[00:02.00]b"});
  c.list.setSelection(0);
  c.history.settle();
  for (int press = 0; press < 3; ++press) {
    c.commands.nudge(-10);
    c.history.settle();
  }
  c.commands.nudge(1);  // another nudge: a step of its own
  c.history.settle();
  c.list.setSelection(1);
  c.history.settle();
  c.commands.nudge(1);  // the same nudge on another line
  c.history.settle();
  EXPECT_EQ(c.list.lines(), (std::vector<std::string>{"[00:00.71]a", "[00:02.01]b"}));
  ASSERT_TRUE(c.history.undo());
  ASSERT_TRUE(c.history.undo());
  EXPECT_EQ(c.list.lines(), (std::vector<std::string>{"[00:00.70]a", "[00:02.00]b"}));
  ASSERT_TRUE(c.history.undo());
  EXPECT_EQ(c.list.lines(), (std::vector<std::string>{"[00:01.00]a", "[00:02.00]b"}));
  ASSERT_TRUE(c.history.undo());  // the load
  EXPECT_EQ(c.list.count(), 0);
  EXPECT_FALSE(c.history.canUndo());
}

TEST(TagCorrections, AShiftMovesEveryLeadingTagAndKeepsTheTextAfterThem) {
  struct Case {
    const char* line;
    std::int64_t hundredths;
    const char* shifted;
  };
  const Case cases[] = {
      {"[00:10.00]a", 135, "[00:11.35]a"},
      {"[00:10]a", 135, "[00:11.35]a"},
      {"[00:10.00][01:00][02:59.99]chorus", 1, "[00:10.01][01:00.01][03:00.00]chorus"},
      {"[00:01.00]early", -135, "[00:00.00]early"},
      {"[00:01.00][00:03.00]two", -200, "[00:00.00][00:01.00]two"},
      {"[99:59.50]end", 60, "[100:00.10]end"},
      {"[100:00.10][100:02]later", -20, "[99:59.90][100:01.80]later"},
      {"[1000:00.00]x", 100, "[1000:00.00]x"},
      {"[00:05.00] spaced [00:09.00] text ", -100, "[00:04.00] spaced [00:09.00] text "},
      {"[00:05.00]", 100, "[00:06.00]"},
      {"[ti:title]", 100, "[ti:title]"},
      {"[0a:05.00]x", 100, "[0a:05.00]x"},
      {"no tag [00:01.00]", 100, "no tag [00:01.00]"},
      {"", -100, ""},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(lyrics::shiftedTags(test.line, test.hundredths), test.shifted) << test.line;
  }
}
