#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/save_balloon_view.h"
#include "files/save_commands.h"
#include "files/saved_lyrics_store.h"
#include "platform/file_io.h"
#include "support/blocked_folder.h"
#include "support/fake_local_clock.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using files::SavedLyricsRecord;

namespace {

struct NoBalloon : files::SaveBalloonView {
  files::WindowFrame windowFrame() const override { return {0, 0, 530, 685, 22}; }
  void showBalloon(const std::string& text, int, int) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// The editor's save commands over a library folder that fills up or turns read-only.
struct DiskFixture {
  explicit DiskFixture(testsupport::BlockedFolder::Kind kind) : disk(base.path() / "disk", kind) {}
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(disk.file(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    return platform::readFileBytes(disk.file(name)).bytes;
  }

  testsupport::TempDir base;
  testsupport::BlockedFolder disk;
  std::string folder = platform::gbkPath(disk.path().string());
  lyrics::LyricsList list;
  lyrics::HeaderFields header;
  playback::SongRow song;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::FakeLocalClock clock;
  NoBalloon balloon;
  files::SavedLyricsLibrary library;
  files::SavedLyricsStore store{library, prompter, folder};
  files::SaveCommands commands{list, header, song, store, clock, prompter, dialogs, balloon};

  std::size_t entries() const {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(disk.path()), {}));
  }
  std::vector<SavedLyricsRecord> reloaded() {
    files::SavedLyricsLibrary fresh;
    testsupport::RecordingPrompter quiet;
    files::SavedLyricsStore(fresh, quiet, folder).loadSavedLyrics();
    return fresh.records();
  }
};

// About 120 KB of lyrics, more than the full disk still holds.
std::vector<std::string> longLyrics() {
  return std::vector<std::string>(2000, "[00:01.00]" + std::string(50, 'x'));
}

}  // namespace

// A full disk and a read-only folder, for save-as and for the library: the user is told the
// file was not saved, every old file keeps its bytes, and no temporary file is left behind.
TEST(FullDisk, AFailedSaveIsReportedAndEveryOldFileIsKept) {
  struct Case {
    const char* what;
    bool readOnly;
    bool library;
  };
  const std::vector<Case> cases = {{"save-as, disk full", false, false},
                                   {"save-as, read-only folder", true, false},
                                   {"library, disk full", false, true},
                                   {"library, read-only folder", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DiskFixture f(c.readOnly ? testsupport::BlockedFolder::Kind::ReadOnly
                             : testsupport::BlockedFolder::Kind::Full);

    f.dialogs.choice = f.folder + "/a.lrc";
    f.prompter.answers = {true};  // replace the old file
    f.write("a.lrc", "old");
    SavedLyricsRecord first;
    first.singer = "歌手";
    first.lyrics = "[00:01.00]a\r\n";
    ASSERT_TRUE(f.store.appendRecord(first));
    const std::string oldLyrics =
        platform::readFileBytes(f.store.filePath(SavedLyricsRecord::Lyrics)).bytes;
    ASSERT_EQ(f.entries(), 8u);

    f.list.replaceAll(longLyrics());
    f.disk.block();
    if (c.library) {
      f.commands.saveLyrics();
    } else {
      f.commands.saveLyricsAs();
    }
    f.disk.unblock();

    ASSERT_FALSE(f.prompter.shown.empty());
    const auto& told = f.prompter.shown.back();
    EXPECT_FALSE(told.question);
    EXPECT_EQ(told.title, "tolva_错误提示");
    EXPECT_EQ(told.text.rfind("文件保存失败：" + f.folder, 0), 0u) << told.text;
    EXPECT_TRUE(f.balloon.shown.empty());  // nothing claims it was saved

    EXPECT_EQ(f.read("a.lrc"), "old");
    EXPECT_EQ(f.reloaded(), std::vector<SavedLyricsRecord>{first});
    EXPECT_EQ(platform::readFileBytes(f.store.filePath(SavedLyricsRecord::Lyrics)).bytes,
              oldLyrics);
    EXPECT_EQ(f.entries(), 8u);
    // The record stays in the list, to be written once there is room.
    EXPECT_EQ(f.library.count(), c.library ? 2 : 1);
  }
}
