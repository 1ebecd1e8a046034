#include "shell/window_drop.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_interval_timer.h"

using shell::WindowDrop;

namespace {

class RecordingWindow : public shell::WindowDropView {
 public:
  bool canPlaceWindow() const override { return placeable; }
  void moveWindowTop(int top) override { tops.push_back(top); }
  bool placeable = true;
  std::vector<int> tops;
};

struct WindowDropTest : ::testing::Test {
  RecordingWindow window;
  testsupport::FakeIntervalTimer timer;
  WindowDrop drop{window, timer};
};

}  // namespace

TEST_F(WindowDropTest, TheLowerPartOfTheStatusBarDropsTheWindowOnceIn17Ticks) {
  drop.statusBarMouseMove(0);
  drop.statusBarMouseMove(10);
  EXPECT_TRUE(window.tops.empty());
  EXPECT_FALSE(timer.running());

  drop.statusBarMouseMove(11);
  EXPECT_EQ(window.tops, (std::vector<int>{-620}));
  EXPECT_EQ(timer.interval(), 10);

  int ticks = 0;
  while (timer.running() && ticks < 100) {
    drop.slide().tick();
    ++ticks;
    // The bar passes under a resting pointer while the window falls; that must not restart it.
    drop.statusBarMouseMove(15);
  }
  EXPECT_EQ(ticks, 17);
  ASSERT_EQ(window.tops.size(), 18u);
  for (std::size_t i = 0; i < window.tops.size(); ++i) {
    EXPECT_EQ(window.tops[i], -620 + 40 * static_cast<int>(i));
  }
  EXPECT_TRUE(drop.done());

  drop.statusBarMouseMove(15);
  drop.slide().tick();
  EXPECT_EQ(window.tops.size(), 18u);
  EXPECT_FALSE(timer.running());
}

TEST_F(WindowDropTest, WhereWindowsCannotBePlacedTheDropIsSkipped) {
  window.placeable = false;
  drop.statusBarMouseMove(19);
  EXPECT_TRUE(window.tops.empty());
  EXPECT_FALSE(timer.running());
  EXPECT_TRUE(drop.done());
  window.placeable = true;
  drop.statusBarMouseMove(19);
  EXPECT_TRUE(window.tops.empty());
}
