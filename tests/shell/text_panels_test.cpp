#include "shell/text_panels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A panel's corner, with the names of raised panels written to a shared list.
struct RecordingPanel : shell::TextPanelView {
  RecordingPanel(const char* panelName, int x, int y, std::vector<std::string>& raisedLog)
      : name(panelName), left(x), topEdge(y), raised(raisedLog) {}
  int top() const override { return topEdge; }
  void move(int x, int y) override {
    left = x;
    topEdge = y;
  }
  void raise() override { raised.push_back(name); }

  std::string name;
  int left, topEdge;
  std::vector<std::string>& raised;
};

}  // namespace

TEST(TextPanels, EachPanelComesAndGoesOnItsOwnAndTheLastShownLiesOnTop) {
  std::vector<std::string> raised;
  RecordingPanel quickStart("quick", 1056, 0, raised);
  RecordingPanel about("about", 1590, 7, raised);
  shell::TextPanels panels(quickStart, about);

  panels.showQuickStart();
  EXPECT_EQ(quickStart.left, 0);
  EXPECT_EQ(quickStart.topEdge, 0);
  panels.showAbout();
  EXPECT_EQ(about.left, 0);
  EXPECT_EQ(about.topEdge, 0);
  EXPECT_EQ(raised, (std::vector<std::string>{"quick", "about"}));

  // Double-clicking the quick-start panel while About is in place moves only quick-start away.
  panels.hideQuickStart();
  EXPECT_EQ(quickStart.left, 1056);
  EXPECT_EQ(about.left, 0);
  panels.hideAbout();
  EXPECT_EQ(about.left, 1590);
  EXPECT_EQ(about.topEdge, 0);
  EXPECT_EQ(raised.size(), 2u);
}
