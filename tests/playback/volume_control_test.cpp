#include "playback/volume_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "playback/volume_scale.h"
#include "support/fake_master_volume.h"

using platform::MasterVolume;
using playback::VolumeControl;
using testsupport::FakeMasterVolume;

namespace {

// A 0..100 slider that clamps like the real one, and its label.
class SliderView : public playback::VolumeView {
 public:
  int sliderPosition() const override { return position; }
  void setSliderPosition(int wanted) override { position = std::clamp(wanted, 0, 100); }
  void setLabelText(const std::string& text) override { label = text; }

  int position = 0;
  std::string label = "unset";
};

struct VolumeFixture : ::testing::Test {
  FakeMasterVolume mixer;
  SliderView view;
  VolumeControl control{mixer, view};

  void moveSlider(int position) {
    view.position = position;
    control.applyVolume();
  }
};

}  // namespace

TEST(VolumeScaleTest, StartPositionIsTheTruncatedMeanPercentPlusOne) {
  struct Case {
    std::uint32_t left, right, maximum;
    int position;
  };
  const Case cases[] = {
      {32768, 32768, 65535, 51},  // 50.0008 % + 1
      {0, 0, 65535, 1},
      {20000, 40000, 65535, 46},   // mean 30000: 45.78 % + 1
      {20000, 40000, 65536, 46},   // the same on a server whose full volume is 65536
      {32767, 32767, 65535, 50},   // 49.9992 % + 1
      {65535, 65535, 65535, 100},  // 101 is more than the slider shows
      {0xFFFFFFFFu, 0xFFFFFFFFu, 65536, 100},
      {30000, 30000, 0, 0},  // no usable mixer: no division
      {1, 0, 200, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "/" + std::to_string(c.right) + " of " +
                 std::to_string(c.maximum));
    EXPECT_EQ(playback::volumeSliderPosition(c.left, c.right, c.maximum), c.position);
  }
}

TEST(VolumeScaleTest, ChannelValueIsTheTruncatedShareOfTheMaximum) {
  struct Case {
    std::uint32_t maximum;
    int position;
    std::uint32_t value;
  };
  const Case cases[] = {
      {65535, 50, 32767},  {65535, 0, 0},
      {65535, 100, 65535}, {65535, 1, 655},
      {65536, 50, 32768},  {65536, 100, 65536},
      {65535, 101, 65535}, {65535, -3, 0},
      {0, 50, 0},          {0xFFFFFFFFu, 100, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.position) + " of " + std::to_string(c.maximum));
    EXPECT_EQ(playback::volumeForPosition(c.maximum, c.position), c.value);
  }
}

TEST_F(VolumeFixture, InitShowsTheMasterVolumeWithoutWritingIt) {
  mixer.channels = {20000, 40000};
  control.initVolume();
  EXPECT_EQ(mixer.binds, 1);
  EXPECT_EQ(view.position, 46);
  EXPECT_EQ(view.label, "46");
  EXPECT_EQ(control.maximum(), 65535u);
  // The balance survives start-up; only the first move evens it out.
  EXPECT_TRUE(mixer.sets.empty());
  moveSlider(46);
  EXPECT_EQ(mixer.channels, (MasterVolume::Channels{30146, 30146}));
}

TEST_F(VolumeFixture, InitShowsTheClampedPositionOnTheLabel) {
  mixer.channels = {65535, 65535};
  control.initVolume();
  EXPECT_EQ(view.position, 100);
  EXPECT_EQ(view.label, "100");
}

TEST_F(VolumeFixture, SliderSetsBothChannelsAlikeAndShowsItsPosition) {
  mixer.channels = {32768, 32768};
  control.initVolume();
  struct Step {
    int position;
    std::uint32_t value;
    const char* label;
  };
  for (const Step& step :
       {Step{50, 32767, "50"}, Step{0, 0, "0"}, Step{100, 65535, "100"}, Step{7, 4587, "7"}}) {
    SCOPED_TRACE(step.position);
    moveSlider(step.position);
    EXPECT_EQ(view.label, step.label);
    EXPECT_EQ(mixer.channels, (MasterVolume::Channels{step.value, step.value}));
  }
  EXPECT_EQ(mixer.sets.size(), 4u);
}

TEST_F(VolumeFixture, WithoutAMixerTheSliderStartsAtZeroAndStillMoves) {
  mixer.available = false;
  mixer.channels = {40000, 40000};
  view.position = 30;
  control.initVolume();
  EXPECT_EQ(view.position, 0);
  EXPECT_EQ(view.label, "0");
  EXPECT_EQ(control.maximum(), 0u);
  moveSlider(64);
  EXPECT_EQ(view.label, "64");
  // The write goes nowhere and its failure is not looked at.
  ASSERT_EQ(mixer.sets.size(), 1u);
  EXPECT_EQ(mixer.sets[0], (MasterVolume::Channels{0, 0}));
  EXPECT_EQ(mixer.channels, (MasterVolume::Channels{40000, 40000}));
}
