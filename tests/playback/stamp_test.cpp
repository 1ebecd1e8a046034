#include <gtest/gtest.h>

#include <functional>

#include "lyrics/double_click_mode.h"
#include "lyrics/signature.h"
#include "lyrics/tag_commands.h"
#include "platform/native_path.h"
#include "playback/play_clock.h"
#include "playback/playback_fakes.h"
#include "support/fake_interval_timer.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

namespace {

struct NoPanel : lyrics::SignaturePanelView {
  void move(int, int) override {}
  void focusEditBox() override {}
  std::string text() const override { return {}; }
  void setText(const std::string&) override {}
};

// Every command that stamps, wired to the play clock as the editor wires them.
struct StampFixture {
  testsupport::FakeIntervalTimer timer;
  lyrics::CurrentTimeTag tag;
  playback::PlaybackDisplay display;
  lyrics::StatusBar status;
  testsupport::FakeAudioPlayer player;
  playbacktest::FakeClock now;
  playback::PlayClock clock{timer, tag, display, status, player, now};
  lyrics::LyricsList list;
  lyrics::DoubleClickMode mode;
  testsupport::RecordingPrompter prompter;
  lyrics::TagCommands tags{list, clock, mode, prompter};
  testsupport::TempDir dir;
  NoPanel panel;
  lyrics::Signature signature{panel, list, clock, platform::gbkPath(dir.path().string())};
};

}  // namespace

TEST(Stamp, EveryStampingCommandTakesTheTimeOfItsOwnMomentBetweenTwoTicks) {
  const struct {
    const char* name;
    std::function<void(StampFixture&)> run;
  } commands[] = {
      {"AddTimeTag", [](StampFixture& f) { f.tags.addTimeTag(); }},
      {"ListDoubleClick", [](StampFixture& f) { f.tags.listDoubleClick(); }},
      {"AddSignature", [](StampFixture& f) { f.signature.addSignature(); }},
      {"AppendSignature", [](StampFixture& f) { f.signature.appendSignature(); }},
  };
  for (const auto& command : commands) {
    StampFixture f;
    f.mode.set(true, false);
    f.list.replaceAll({"x"});
    f.list.setSelection(0);
    f.clock.reset();
    f.clock.start();
    f.now.advanceMs(2000);
    f.clock.tick();
    ASSERT_EQ(f.tag.value(), "[00:02.00]");
    f.now.advanceMs(7);  // the key press, 7 ms after the last tick
    command.run(f);
    bool stamped = false;
    for (const std::string& line : f.list.lines()) {
      EXPECT_FALSE(line.starts_with("[00:02.00]")) << command.name << ": " << line;
      stamped = stamped || line.starts_with("[00:02.01]");
    }
    EXPECT_TRUE(stamped) << command.name;
    // The displays show the stamped moment as well.
    EXPECT_EQ(f.status.text(lyrics::StatusBar::PlayTime), "播放时间:[00:02.01]") << command.name;
  }
}
