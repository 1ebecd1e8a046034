#include "shell/curtain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_interval_timer.h"

using shell::Curtain;
using testsupport::FakeIntervalTimer;

namespace {

// The pieces' positions and the other controls' state, with a log of what was shown or hidden.
class RecordingCurtainView : public shell::CurtainView {
 public:
  int leftPieceLeft() const override { return left; }
  void moveLeftPiece(int x) override { left = x; }
  int rightPieceLeft() const override { return right; }
  void moveRightPiece(int x) override { right = x; }
  void showClosePictureAt(int x, int y) override {
    shown.push_back("close@" + std::to_string(x) + "," + std::to_string(y));
  }
  void moveDisplayBox(int x, int y) override {
    shown.push_back("display@" + std::to_string(x) + "," + std::to_string(y));
  }
  void setDisplayVisible(bool visible) override { record("display", visible); }
  void setOpenPictureVisible(bool visible) override { record("open", visible); }
  void setVolumePictureVisible(bool visible) override { record("volume", visible); }

  int left = Curtain::kLeftParked;
  int right = Curtain::kRightParked;
  std::vector<std::string> shown;

 private:
  void record(const char* name, bool visible) {
    shown.push_back(std::string(name) + (visible ? "+" : "-"));
  }
};

struct CurtainTest : ::testing::Test {
  RecordingCurtainView view;
  FakeIntervalTimer closeLeft, closeRight, openLeft, openRight;
  Curtain curtain{view, {closeLeft, closeRight, openLeft, openRight}};

  Curtain::Slides& slides = curtain.slides();

  // Ticks `slide` while it runs, at most `limit` times; returns the number of ticks.
  static int runOut(platform::Slide& slide, int limit = 100) {
    int ticks = 0;
    while (slide.running() && ticks < limit) {
      slide.tick();
      ++ticks;
    }
    return ticks;
  }
  // Ticks both slides `count` times each (a stopped slide does not move).
  static void step(platform::Slide& a, platform::Slide& b, int count) {
    for (int i = 0; i < count; ++i) {
      a.tick();
      b.tick();
    }
  }
};

}  // namespace

TEST_F(CurtainTest, ClosingTakes24TicksAndTheRightPieceShowsTheTestPlayControls) {
  curtain.close();
  EXPECT_EQ(closeLeft.interval(), 10);
  EXPECT_EQ(closeRight.interval(), 10);

  EXPECT_EQ(runOut(slides.closeLeft), 24);
  EXPECT_EQ(view.left, 0);
  EXPECT_TRUE(view.shown.empty());  // the left piece's arrival shows nothing

  step(slides.closeRight, slides.closeLeft, 23);
  EXPECT_EQ(view.right, 277);
  EXPECT_TRUE(view.shown.empty());
  closeRight.history.clear();
  slides.closeRight.tick();
  EXPECT_EQ(view.right, 265);
  EXPECT_EQ(closeRight.history, (std::vector<int>{0}));
  EXPECT_EQ(view.shown,
            (std::vector<std::string>{"close@490,510", "display@10,500", "volume-", "display+"}));
}

TEST_F(CurtainTest, OpeningTakes24TicksAndTheRightPieceShowsTheBottomPictures) {
  view.left = Curtain::kLeftClosed;
  view.right = Curtain::kRightClosed;
  curtain.open();
  EXPECT_EQ(openLeft.interval(), 10);
  EXPECT_EQ(openRight.interval(), 10);

  EXPECT_EQ(runOut(slides.openLeft), 24);
  EXPECT_EQ(view.left, -265);
  EXPECT_TRUE(view.shown.empty());

  step(slides.openRight, slides.openLeft, 23);
  EXPECT_EQ(view.right, 518);
  EXPECT_TRUE(view.shown.empty());
  slides.openRight.tick();
  EXPECT_EQ(view.right, 530);
  EXPECT_FALSE(openRight.running());
  EXPECT_EQ(view.shown, (std::vector<std::string>{"open+", "volume+"}));
}

TEST_F(CurtainTest, StartingOneSlideStopsTheOtherAndAHalfWaySlideStillEnds) {
  curtain.close();
  step(slides.closeLeft, slides.closeRight, 10);
  EXPECT_EQ(view.left, -155);
  EXPECT_EQ(view.right, 420);

  // Ending test play half-way through the close: only the opening timers run.
  curtain.open();
  EXPECT_FALSE(closeLeft.running());
  EXPECT_FALSE(closeRight.running());
  EXPECT_LE(runOut(slides.openLeft), 24);
  EXPECT_LE(runOut(slides.openRight), 24);
  EXPECT_EQ(view.left, -265);
  EXPECT_EQ(view.right, 530);
  EXPECT_EQ(view.shown, (std::vector<std::string>{"open+", "volume+"}));

  // Starting again while the curtain is opening: from positions the step of 11 never meets the
  // stop values exactly, yet both pieces arrive and the right one shows the controls.
  view.shown.clear();
  view.left = 0;
  view.right = 265;
  curtain.open();
  step(slides.openLeft, slides.openRight, 5);
  curtain.close();
  EXPECT_FALSE(openLeft.running());
  EXPECT_FALSE(openRight.running());
  EXPECT_LE(runOut(slides.closeLeft), 24);
  EXPECT_LE(runOut(slides.closeRight), 24);
  EXPECT_EQ(view.left, 0);
  EXPECT_EQ(view.right, 265);
  EXPECT_EQ(view.shown,
            (std::vector<std::string>{"close@490,510", "display@10,500", "volume-", "display+"}));

  // Closing an already closed curtain keeps it closed.
  curtain.close();
  EXPECT_EQ(runOut(slides.closeLeft), 1);
  EXPECT_EQ(runOut(slides.closeRight), 1);
  EXPECT_EQ(view.left, 0);
  EXPECT_EQ(view.right, 265);
}
