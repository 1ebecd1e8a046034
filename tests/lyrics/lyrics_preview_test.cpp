#include "lyrics/lyrics_preview.h"

#include <gtest/gtest.h>

#include "lyrics/text_rules.h"
#include "support/fake_interval_timer.h"

using namespace lyrics;
using Lines = std::vector<std::string>;

namespace {

struct FakeBox : PreviewBoxView {
  int top() const override { return boxTop; }
  void move(int left, int top) override {
    boxLeft = left;
    boxTop = top;
  }
  bool isEnabled() const override { return enabled; }
  void setEnabled(bool on) override { enabled = on; }
  std::string text() const override { return content; }
  void setText(const std::string& text) override { content = text; }
  bool edited() const override { return false; }
  int boxLeft = 532;
  int boxTop = 88;
  bool enabled = false;
  std::string content;
};

struct PreviewFixture {
  explicit PreviewFixture(const Lines& lines) {
    for (const auto& line : lines) list.appendLine(line);
  }
  void open() {
    preview.previewLyrics();
    while (slideIn.running()) preview.slideIn().tick();
  }
  FakeBox box;
  lyrics::LyricsList list;
  lyrics::StatusBar status;
  testsupport::FakeIntervalTimer slideIn;
  testsupport::FakeIntervalTimer slideOut;
  LyricsPreview preview{box, list, status, slideIn, slideOut};
};

}  // namespace

TEST(LyricsPreview, SlidesInTickByTickAndEnablesAtRest) {
  PreviewFixture f({"a", "", "b"});
  f.preview.previewLyrics();
  EXPECT_EQ(f.box.boxLeft, 0);
  EXPECT_EQ(f.box.boxTop, -380);
  EXPECT_EQ(f.box.content, "a\r\n\r\nb\r\n");
  EXPECT_EQ(f.slideIn.interval(), 10);
  std::vector<int> tops;
  for (int tick = 0; tick < 15; ++tick) {
    EXPECT_FALSE(f.box.enabled) << tick;
    f.preview.slideIn().tick();
    tops.push_back(f.box.boxTop);
  }
  EXPECT_EQ(tops, (std::vector<int>{-350, -320, -290, -260, -230, -200, -170, -140, -110, -80, -50,
                                    -20, 10, 40, 91}));
  EXPECT_TRUE(f.box.enabled);
  EXPECT_FALSE(f.slideIn.running());

  f.list.clear();
  f.preview.previewLyrics();  // an empty list opens an empty box
  EXPECT_EQ(f.box.content, "");
}

TEST(LyricsPreview, BottomStripWritesTheTextBackOnceAndSlidesOut) {
  PreviewFixture f({"a", "", "b"});
  f.list.setSelection(2);
  f.open();
  f.preview.commitPreviewEdits(360);  // just above the strip
  EXPECT_TRUE(f.box.enabled);
  EXPECT_FALSE(f.slideOut.running());

  f.preview.commitPreviewEdits(361);  // unchanged text gives the same lines
  EXPECT_EQ(f.list.lines(), (Lines{"a", "", "b"}));
  EXPECT_EQ(f.list.selection(), -1);
  EXPECT_FALSE(f.box.enabled);
  EXPECT_EQ(f.status.text(lyrics::StatusBar::Lines), "行：3");
  EXPECT_EQ(f.status.text(lyrics::StatusBar::Characters), "字：8");
  EXPECT_EQ(f.slideOut.interval(), 10);

  f.box.content = "changed";
  f.preview.commitPreviewEdits(370);  // a disabled box takes nothing back
  EXPECT_EQ(f.list.lines(), (Lines{"a", "", "b"}));

  std::vector<int> tops;
  while (f.slideOut.running() && tops.size() < 20) {
    f.preview.slideOut().tick();
    tops.push_back(f.box.boxTop);
  }
  EXPECT_EQ(tops, (std::vector<int>{61, 31, 1, -29, -59, -89, -119, -149, -179, -209, -239, -269,
                                    -299, -329, -380}));
}

TEST(LyricsPreview, EditedTextReplacesTheLinesWithFullByteCount) {
  PreviewFixture f({"old"});
  f.open();
  f.box.content = "a\r\nb";
  f.preview.commitPreviewEdits(365);
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b"}));
  EXPECT_EQ(f.status.text(lyrics::StatusBar::Lines), "行：2");
  EXPECT_EQ(f.status.text(lyrics::StatusBar::Characters), "字：4");

  f.open();
  f.box.content = "歌词\r\n\r\n";  // the count is in bytes, not halved
  f.preview.commitPreviewEdits(365);
  EXPECT_EQ(f.list.lines(), (Lines{"歌词", ""}));
  EXPECT_EQ(f.status.text(lyrics::StatusBar::Characters), "字：8");
}

TEST(LyricsPreview, OpeningAgainWhileSlidingOutStopsTheSlideOut) {
  PreviewFixture f({"a"});
  f.open();
  f.preview.commitPreviewEdits(365);
  f.preview.slideOut().tick();
  f.preview.slideOut().tick();
  ASSERT_TRUE(f.slideOut.running());

  f.preview.previewLyrics();
  EXPECT_FALSE(f.slideOut.running());
  EXPECT_TRUE(f.slideIn.running());
  EXPECT_EQ(f.box.boxTop, -380);
  EXPECT_FALSE(f.box.enabled);
  // While it slides in, the bottom strip takes nothing back.
  f.preview.commitPreviewEdits(365);
  EXPECT_EQ(f.list.lines(), Lines{"a"});
  int ticks = 0;
  while (f.slideIn.running() && ticks < 20) {
    f.preview.slideIn().tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 15);
  EXPECT_EQ(f.box.boxTop, 91);
  EXPECT_TRUE(f.box.enabled);
}
