#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_io.h"
#include "support/blocked_folder.h"
#include "support/save_rig.h"

using files::SavedLyricsRecord;

namespace {

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
  testsupport::RecordingBalloon balloon;
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

// A full disk and a read-only folder, for save-as, the file beside the audio and the library:
// the user is told which file was not saved and why, every old file keeps its bytes, no
// temporary file is left behind, and once there is room the same command saves everything.
TEST(FullDisk, AFailedSaveIsReportedAndEveryOldFileIsKept) {
  enum class Command { SaveAs, BesideAudio, Library };
  struct Case {
    const char* what;
    bool readOnly;
    Command command;
  };
  const std::vector<Case> cases = {
      {"save-as, disk full", false, Command::SaveAs},
      {"save-as, read-only folder", true, Command::SaveAs},
      {"beside the audio, disk full", false, Command::BesideAudio},
      {"beside the audio, read-only folder", true, Command::BesideAudio},
      {"library, disk full", false, Command::Library},
      {"library, read-only folder", true, Command::Library}};
  const std::string diskFull = "\n磁盘空间不足，原有的文件没有改动。";
  const std::string readOnly = "\n文件夹是只读的或没有写入权限，原有的文件没有改动。";
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
    const auto run = [&] {
      if (c.command == Command::Library) {
        f.commands.saveLyrics();
      } else if (c.command == Command::SaveAs) {
        f.commands.saveLyricsAs();
      } else {
        f.dialogs.choice = f.folder + "/a.mp3";
        f.commands.writeLyricsBesideAudio();
      }
    };
    f.disk.block();
    run();
    f.disk.unblock();

    ASSERT_FALSE(f.prompter.shown.empty());
    const auto& told = f.prompter.shown.back();
    EXPECT_FALSE(told.question);
    EXPECT_EQ(told.title, "tolva_错误提示");
    // The library's message names the file that ran out of room, or the first one.
    const std::string failed = c.command != Command::Library ? f.folder + "/a.lrc"
                               : c.readOnly ? f.store.filePath(SavedLyricsRecord::Singer)
                                            : f.store.filePath(SavedLyricsRecord::Lyrics);
    EXPECT_EQ(told.text, "文件保存失败：" + failed + (c.readOnly ? readOnly : diskFull));
    EXPECT_TRUE(f.balloon.shown.empty());  // nothing claims it was saved

    EXPECT_EQ(f.read("a.lrc"), "old");
    EXPECT_EQ(f.reloaded(), std::vector<SavedLyricsRecord>{first});
    EXPECT_EQ(platform::readFileBytes(f.store.filePath(SavedLyricsRecord::Lyrics)).bytes,
              oldLyrics);
    EXPECT_EQ(f.entries(), 8u);
    // The record stays in the list, to be written once there is room.
    const bool library = c.command == Command::Library;
    EXPECT_EQ(f.library.count(), library ? 2 : 1);

    f.disk.unblock();
    f.prompter.shown.clear();
    f.dialogs.choice = f.folder + "/a.lrc";
    f.prompter.answers = {true};
    run();
    EXPECT_TRUE(f.prompter.shown.empty() || f.prompter.shown.back().question);
    if (library) {
      EXPECT_EQ(f.reloaded().size(), 3u);  // the record kept from the failed save, and this one
    } else {
      EXPECT_EQ(f.read("a.lrc"), lyrics::joinLyricsText(f.list));
    }
  }
}
