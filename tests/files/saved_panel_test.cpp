#include "files/saved_panel.h"

#include <gtest/gtest.h>

#include "support/fake_interval_timer.h"

using files::SavedPanel;

namespace {

struct FakeView : files::SavedPanelView {
  void setPanelLeft(int left) override { lefts.push_back(left); }
  void showToggleImage(bool open) override { images.push_back(open); }
  std::vector<int> lefts;
  std::vector<bool> images;
};

struct PanelFixture {
  FakeView view;
  testsupport::FakeIntervalTimer slideIn, slideOut;
  SavedPanel panel{view, slideIn, slideOut};
};

}  // namespace

TEST(SavedPanel, SlidesInAndOutInThirtyPixelStepsAndSnapsAtTheEnds) {
  PanelFixture f;
  f.panel.toggleSavedPanel();
  EXPECT_EQ(f.slideIn.interval(), platform::Slide::kTickMs);
  int ticks = 0;
  while (f.slideIn.running() && ticks < 100) {
    f.panel.slideIn().tick();
    ++ticks;
    if (ticks == 5) f.panel.toggleSavedPanel();  // a double-click while sliding changes nothing
  }
  EXPECT_EQ(ticks, 17);
  EXPECT_EQ(f.view.lefts.at(0), 500);
  EXPECT_EQ(f.view.lefts.at(15), 50);
  EXPECT_EQ(f.view.lefts.back(), 0);
  EXPECT_EQ(f.view.images, std::vector<bool>{true});  // the picture changes at the end only
  EXPECT_EQ(f.slideIn.history, (std::vector<int>{10, 10, 0}));
  EXPECT_FALSE(f.slideOut.running());

  f.view.lefts.clear();
  f.panel.toggleSavedPanel();
  ticks = 0;
  while (f.slideOut.running() && ticks < 100) {
    f.panel.slideOut().tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 18);
  EXPECT_EQ(f.view.lefts.at(16), 510);
  EXPECT_EQ(f.view.lefts.back(), SavedPanel::kClosedLeft);
  EXPECT_EQ(f.view.images, (std::vector<bool>{true, false}));
  EXPECT_FALSE(f.slideIn.running());
}

TEST(SavedPanel, ClosingAtOnceStopsBothSlides) {
  PanelFixture f;
  f.panel.toggleSavedPanel();
  for (int i = 0; i < 17; ++i) f.panel.slideIn().tick();
  f.panel.toggleSavedPanel();
  for (int i = 0; i < 3; ++i) f.panel.slideOut().tick();
  f.panel.closeSavedPanel();
  EXPECT_FALSE(f.slideIn.running());
  EXPECT_FALSE(f.slideOut.running());
  EXPECT_EQ(f.panel.left(), SavedPanel::kClosedLeft);
  EXPECT_FALSE(f.panel.showsOpenImage());
  // Closed again, the next double-click slides the panel in.
  f.panel.toggleSavedPanel();
  EXPECT_TRUE(f.slideIn.running());
}
