#include "lyrics/tag_commands.h"

#include <gtest/gtest.h>

#include "support/fixed_time_tag.h"
#include "support/recording_prompter.h"

using namespace lyrics;
using Lines = std::vector<std::string>;

namespace {

struct TagFixture {
  explicit TagFixture(const Lines& lines) {
    for (const auto& line : lines) list.appendLine(line);
  }
  LyricsList list;
  testsupport::FixedTimeTag clock;
  DoubleClickMode mode;
  testsupport::RecordingPrompter prompter;
  TagCommands commands{list, clock, mode, prompter};
};

}  // namespace

TEST(TagCommands, AddTimeTagStampsAndMovesOnAndStacksOnTheLastLine) {
  TagFixture f({"a", "b", "c"});
  f.clock.set("[00:05.20]");
  f.list.setSelection(0);
  f.commands.addTimeTag();
  EXPECT_EQ(f.list.line(0), "[00:05.20]a");
  EXPECT_EQ(f.list.selection(), 1);

  f.list.setSelection(2);
  f.commands.addTimeTag();
  EXPECT_EQ(f.list.line(2), "[00:05.20]c");
  EXPECT_EQ(f.list.selection(), 2);
  f.clock.set("[00:06.10]");
  f.commands.addTimeTag();
  EXPECT_EQ(f.list.line(2), "[00:06.10][00:05.20]c");
  EXPECT_EQ(f.list.selection(), 2);
  EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(TagCommands, AddTimeTagWithoutSelectionWarnsAndChangesNothing) {
  TagFixture f({"a"});
  f.commands.addTimeTag();
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].text, "请导入歌词");
  EXPECT_EQ(f.prompter.shown[0].title, "tolva");
  EXPECT_EQ(f.prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_FALSE(f.prompter.shown[0].question);
  EXPECT_EQ(f.list.lines(), Lines{"a"});
  EXPECT_EQ(f.list.selection(), -1);
}

TEST(TagCommands, DeleteLineTagRemovesOnlyTheFirstPositionalTag) {
  TagFixture f({"[00:05.20]abc", "[00:05]abc", "[01:02.03][04:05.06]x", "[ti:ab]", "[ti:abcd]",
                "[no close", "[00:00.0\xB0]x]"});
  const Lines expected = {"abc",       "abc",       "[04:05.06]x",    "",
                          "[ti:abcd]", "[no close", "[00:00.0\xB0]x]"};
  for (int i = 0; i < f.list.count(); ++i) {
    f.list.setSelection(i);
    f.commands.deleteLineTag();
    EXPECT_EQ(f.list.line(i), expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(f.list.selection(), i);
  }
  EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(TagCommands, DeleteLineTagWarnings) {
  TagFixture f({"abc", ""});
  f.commands.deleteLineTag();
  f.list.setSelection(0);
  f.commands.deleteLineTag();
  f.list.setSelection(1);
  f.commands.deleteLineTag();
  ASSERT_EQ(f.prompter.shown.size(), 3u);
  EXPECT_EQ(f.prompter.shown[0].text, "请选择需要删除的歌词行");
  EXPECT_EQ(f.prompter.shown[1].text, "此行无需删除时间标签");
  EXPECT_EQ(f.prompter.shown[2].text, "此行无需删除时间标签");
  for (const auto& shown : f.prompter.shown) {
    EXPECT_EQ(shown.title, "tolva_错误提示");
    EXPECT_EQ(shown.icon, platform::MessageIcon::Warning);
  }
  EXPECT_EQ(f.list.lines(), (Lines{"abc", ""}));
}

TEST(TagCommands, DoubleClickFollowsTheToggles) {
  TagFixture f({"[00:01.00]a", "b"});
  f.clock.set("[00:09.00]");
  int changes = 0;
  f.mode.addListener([&] { ++changes; });

  f.list.setSelection(1);
  f.commands.listDoubleClick();  // start-up mode adds
  EXPECT_EQ(f.list.line(1), "[00:09.00]b");

  f.commands.toggleDoubleClickDelete();
  EXPECT_TRUE(f.mode.deletesTag());
  EXPECT_FALSE(f.mode.addsTag());
  f.list.setSelection(0);
  f.commands.listDoubleClick();
  EXPECT_EQ(f.list.line(0), "a");
  EXPECT_EQ(f.list.selection(), 0);

  f.commands.toggleDoubleClickDelete();
  EXPECT_FALSE(f.mode.deletesTag());
  EXPECT_FALSE(f.mode.addsTag());
  f.commands.listDoubleClick();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "[00:09.00]b"}));
  EXPECT_TRUE(f.prompter.shown.empty());

  f.commands.toggleDoubleClickAdd();
  EXPECT_TRUE(f.mode.addsTag());
  f.commands.toggleDoubleClickDelete();
  EXPECT_TRUE(f.mode.deletesTag());
  EXPECT_FALSE(f.mode.addsTag());
  f.commands.toggleDoubleClickAdd();
  EXPECT_TRUE(f.mode.addsTag());
  EXPECT_FALSE(f.mode.deletesTag());
  f.commands.toggleDoubleClickAdd();
  EXPECT_FALSE(f.mode.addsTag());
  EXPECT_EQ(changes, 6);
}

TEST(TagCommands, WholeListTagCommands) {
  TagFixture all({"[00:01.00]a", "[00:02]b", "c", "[ar:xy]", "[00:01.00][00:02.00]d"});
  all.list.setSelection(2);
  all.commands.deleteAllTimeTags();
  EXPECT_EQ(all.list.lines(), (Lines{"a", "b", "c", "", "[00:02.00]d"}));
  EXPECT_EQ(all.list.selection(), 2);

  TagFixture strip(
      {"[00:01.23]a", "[00:01]a", "[ti:abcde]", "x[00:01.23]", "[00:01.23][00:02.34]"});
  strip.commands.stripTagFractions();
  EXPECT_EQ(strip.list.lines(),
            (Lines{"[00:01]a", "[00:01]a", "[ti:ab]", "x[00:01.23]", "[00:01][00:02.34]"}));

  TagFixture untagged({"a", "b", "[00:01.00]c", "", "d", "[x"});
  untagged.list.setSelection(2);
  untagged.commands.deleteUntaggedLines();
  EXPECT_EQ(untagged.list.lines(), (Lines{"[00:01.00]c", "[x"}));
  EXPECT_EQ(untagged.list.selection(), 0);
  untagged.list.setLine(1, "y");
  untagged.list.setSelection(1);
  untagged.commands.deleteUntaggedLines();
  EXPECT_EQ(untagged.list.lines(), Lines{"[00:01.00]c"});
  EXPECT_EQ(untagged.list.selection(), -1);
  EXPECT_TRUE(all.prompter.shown.empty() && strip.prompter.shown.empty() &&
              untagged.prompter.shown.empty());
}
