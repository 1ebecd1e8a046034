#include "shell/font_changer.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

namespace {

using Values = platform::FontChooser::Values;

// A dialog that gives the scripted answers in turn and remembers what it was opened with.
struct ScriptedChooser : platform::FontChooser {
  std::optional<Values> choose(const Values& current) override {
    opened.push_back(current);
    std::optional<Values> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<Values>> answers;
  std::vector<Values> opened;
};

struct Applied {
  shell::FontSpec font;
  platform::RgbColour colour;
  bool operator==(const Applied&) const = default;
};

struct RecordingTarget : shell::FontTargetView {
  void setTextFont(const shell::FontSpec& font, platform::RgbColour colour) override {
    applied.push_back({font, colour});
  }
  std::vector<Applied> applied;
};

constexpr platform::RgbColour kBlack{0, 0, 0};
constexpr platform::RgbColour kRed{255, 0, 0};
constexpr platform::RgbColour kBlue{0, 0, 255};

}  // namespace

TEST(FontChanger, KeepsTheConfirmedValuesAndAppliesTheKeptOnesEvenOnCancel) {
  // "宋体" in GBK.
  const std::string songti = "\xCB\xCE\xCC\xE5";
  const Values start{};
  const Values boldRed{songti, 14, 700, false, false, false, kRed};
  const Values blueEffects{"Noto Serif CJK SC", 9, 400, true, true, true, kBlue};
  const struct Step {
    const char* what;
    std::optional<Values> answer;
    Values kept;
    Applied applied;
  } steps[] = {
      {"first cancel",
       std::nullopt,
       start,
       {shell::FontSpec{0, false, false, false, false, 0, ""}, kBlack}},
      {"confirm 14 point bold red",
       boldRed,
       boldRed,
       {shell::FontSpec{0, true, false, false, false, 14, songti}, kRed}},
      {"later cancel",
       std::nullopt,
       boldRed,
       {shell::FontSpec{0, true, false, false, false, 14, songti}, kRed}},
      {"confirm the three effects",
       blueEffects,
       blueEffects,
       {shell::FontSpec{0, false, true, true, true, 9, "Noto Serif CJK SC"}, kBlue}},
  };

  ScriptedChooser chooser;
  for (const Step& step : steps) chooser.answers.push_back(step.answer);
  RecordingTarget lyricsList;
  RecordingTarget previewBox;
  shell::FontChanger changer(chooser, lyricsList, previewBox);
  EXPECT_EQ(changer.values(), start);

  std::vector<Applied> expected;
  std::vector<Values> expectedOpened;
  Values before = start;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    changer.changeFont();
    expected.push_back(step.applied);
    expectedOpened.push_back(before);
    EXPECT_EQ(changer.values(), step.kept);
    EXPECT_EQ(lyricsList.applied, expected);
    EXPECT_EQ(previewBox.applied, expected);
    // The dialog always opens with what was kept, never with what was merely shown.
    EXPECT_EQ(chooser.opened, expectedOpened);
    before = step.kept;
  }
}

TEST(FontChanger, ABoldSelectionIsAnyWeightOf700OrMore) {
  const struct {
    int weight;
    bool bold;
  } cases[] = {{100, false}, {400, false}, {600, false}, {699, false},
               {700, true},  {701, true},  {900, true},  {1000, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.weight);
    Values values;
    values.weight = c.weight;
    ScriptedChooser chooser;
    chooser.answers.push_back(values);
    RecordingTarget lyricsList;
    RecordingTarget previewBox;
    shell::FontChanger changer(chooser, lyricsList, previewBox);
    changer.changeFont();
    ASSERT_EQ(lyricsList.applied.size(), 1u);
    EXPECT_EQ(lyricsList.applied[0].font.bold, c.bold);
    EXPECT_EQ(previewBox.applied[0].font.bold, c.bold);
    // The dialog opens next time with the weight itself, not a rounded one.
    EXPECT_EQ(changer.values().weight, c.weight);
  }
}
