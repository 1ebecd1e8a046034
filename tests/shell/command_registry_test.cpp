#include "shell/command_registry.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using shell::CommandRegistry;

TEST(CommandRegistryTest, RunsTheRegisteredCommandByItsNameAndRefusesUnknownNames) {
  CommandRegistry registry;
  std::vector<std::string> ran;
  registry.add("AddTimeTag", [&ran] { ran.push_back("AddTimeTag"); });
  registry.add("SaveLyrics", [&ran] { ran.push_back("SaveLyrics"); });

  EXPECT_TRUE(registry.run("SaveLyrics"));
  EXPECT_TRUE(registry.run("AddTimeTag"));
  EXPECT_TRUE(registry.run("AddTimeTag"));
  EXPECT_EQ(ran, (std::vector<std::string>{"SaveLyrics", "AddTimeTag", "AddTimeTag"}));
  // Names are exact: no case folding, no prefix match.
  for (const char* unknown : {"addTimeTag", "AddTimeTa", "AddTimeTags", "", "popup:AddTimeTag"}) {
    SCOPED_TRACE(unknown);
    EXPECT_FALSE(registry.has(unknown));
    EXPECT_FALSE(registry.run(unknown));
    EXPECT_FALSE(registry.isCheckable(unknown));
    EXPECT_FALSE(registry.isChecked(unknown));
  }
  EXPECT_EQ(ran.size(), 3u);
  EXPECT_EQ(registry.names(), (std::vector<std::string>{"AddTimeTag", "SaveLyrics"}));
}

TEST(CommandRegistryTest, ANameIsRegisteredOnceAndNeedsAFunction) {
  CommandRegistry registry;
  int first = 0;
  registry.add("ClearLyrics", [&first] { ++first; });
  EXPECT_THROW(registry.add("ClearLyrics", [] {}), std::logic_error);
  EXPECT_THROW(registry.addCheckable(
                   "ClearLyrics", [] {}, [] { return true; }),
               std::logic_error);
  EXPECT_THROW(registry.add("", [] {}), std::logic_error);
  EXPECT_THROW(registry.add("MoveLineUp", {}), std::logic_error);
  EXPECT_THROW(registry.addCheckable("Toggle", [] {}, {}), std::logic_error);
  // The first registration stands.
  registry.run("ClearLyrics");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(registry.names(), std::vector<std::string>{"ClearLyrics"});
}

TEST(CommandRegistryTest, CheckMarksReadTheRegisteredStateAndListenersHearOfChanges) {
  CommandRegistry registry;
  bool adds = true;
  registry.addCheckable(
      "ToggleDoubleClickAdd", [&adds] { adds = !adds; }, [&adds] { return adds; });
  registry.add("DeleteLineTag", [] {});
  int heard = 0;
  registry.addCheckedStateListener([&heard] { ++heard; });

  EXPECT_TRUE(registry.isCheckable("ToggleDoubleClickAdd"));
  EXPECT_FALSE(registry.isCheckable("DeleteLineTag"));
  EXPECT_FALSE(registry.isChecked("DeleteLineTag"));
  EXPECT_TRUE(registry.isChecked("ToggleDoubleClickAdd"));
  registry.run("ToggleDoubleClickAdd");
  EXPECT_FALSE(registry.isChecked("ToggleDoubleClickAdd"));
  adds = true;
  EXPECT_TRUE(registry.isChecked("ToggleDoubleClickAdd"));
  // Listeners hear only what the state's owner reports.
  EXPECT_EQ(heard, 0);
  registry.checkedStateChanged();
  registry.checkedStateChanged();
  EXPECT_EQ(heard, 2);
}
