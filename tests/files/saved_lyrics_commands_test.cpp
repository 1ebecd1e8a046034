#include "files/saved_lyrics_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_io.h"
#include "support/fake_interval_timer.h"
#include "support/fake_random_source.h"
#include "support/recording_clipboard.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using files::SavedLyricsRecord;
using lyrics::HeaderFields;
using lyrics::StatusBar;
using playback::SongRow;

namespace {

struct FakePanelView : files::SavedPanelView {
  void setPanelLeft(int newLeft) override { left = newLeft; }
  void showToggleImage(bool isOpen) override { open = isOpen; }
  int left = files::SavedPanel::kClosedLeft;
  bool open = false;
};

SavedLyricsRecord record(std::string songPath, std::string lyrics) {
  return {"歌手", "歌曲", "专辑", "编辑", std::move(songPath), "2014年3月5日", std::move(lyrics)};
}

struct CommandsFixture {
  CommandsFixture() {
    library.append(record("/m/a.mp3", "a\r\nbb\r\n"));
    library.append(record("", ""));
    list.replaceAll({"old"});
    list.setSelection(0);
  }
  std::string desktopFile(int number) const {
    return platform::readFileBytes(dialogs.desktop + "青禾歌词编辑器导出文本" +
                                   std::to_string(number) + ".txt")
        .bytes;
  }

  testsupport::TempDir dir;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingClipboard clipboard;
  testsupport::FakeRandomSource random;
  testsupport::FakeIntervalTimer slideIn, slideOut;
  FakePanelView view;
  files::SavedPanel panel{view, slideIn, slideOut};
  files::SavedLyricsLibrary library;
  files::SavedLyricsStore store{library, prompter, platform::gbkPath(dir.file("store"))};
  lyrics::LyricsList list;
  HeaderFields header;
  SongRow song;
  StatusBar status;
  files::SavedLyricsCommands commands{store,  panel,    list,    header,    song,
                                      status, prompter, dialogs, clipboard, random};
};

}  // namespace

TEST(SavedLyricsCommands, WithoutASelectionTheRecordCommandsDoNothing) {
  CommandsFixture f;
  std::filesystem::create_directory(f.dir.file("store"));
  f.commands.openSavedRecord();
  f.commands.exportRecordToDesktop();
  f.commands.copySavedSongPath();
  f.commands.copySavedLyrics();
  f.commands.deleteSavedRecord();
  EXPECT_EQ(f.list.lines(), std::vector<std::string>{"old"});
  EXPECT_FALSE(f.song.hasRow());
  EXPECT_TRUE(f.clipboard.texts.empty());
  EXPECT_TRUE(f.prompter.shown.empty());
  EXPECT_TRUE(f.random.ranges.empty());
  EXPECT_EQ(f.library.count(), 2);
  EXPECT_TRUE(std::filesystem::is_empty(f.dir.file("store")));

  f.library.setSelectedRow(0);
  f.commands.copySavedSongPath();
  f.commands.copySavedLyrics();
  EXPECT_EQ(f.clipboard.texts, (std::vector<std::string>{"/m/a.mp3", "a\r\nbb\r\n"}));
}

TEST(SavedLyricsCommands, OpenSavedRecordLoadsItIntoTheEditorAndClosesThePanel) {
  const std::vector<std::pair<std::string, std::string>> formats = {
      {"/m/a.mp3", "mp3格式"}, {"/m/A.WMA", "WMA格式"}, {"ab", "ab格式"}, {"", "格式"}};
  for (const auto& [path, format] : formats) {
    CommandsFixture f;
    f.library.append(record(path, "a\r\nbb\r\n"));
    f.library.setSelectedRow(2);
    f.panel.toggleSavedPanel();
    f.panel.slideInTick();
    f.commands.openSavedRecord();
    EXPECT_EQ(f.header.text(HeaderFields::Singer), "歌手");
    EXPECT_EQ(f.header.text(HeaderFields::Editor), "编辑");
    EXPECT_EQ(f.song.cell(SongRow::Title), "歌曲");
    EXPECT_EQ(f.song.cell(SongRow::Singer), "歌手");
    EXPECT_EQ(f.song.cell(SongRow::Format), format);
    EXPECT_EQ(f.song.cell(SongRow::Check), "正常");
    EXPECT_EQ(f.song.cell(SongRow::Path), path);
    EXPECT_EQ(f.list.lines(), (std::vector<std::string>{"a", "bb"}));
    EXPECT_EQ(f.list.selection(), -1);
    EXPECT_EQ(f.status.text(StatusBar::Lines), "行:2");
    EXPECT_EQ(f.status.text(StatusBar::Characters), "字:7");
    EXPECT_EQ(f.view.left, files::SavedPanel::kClosedLeft);
    EXPECT_FALSE(f.view.open);
    EXPECT_FALSE(f.slideIn.running());
  }

  CommandsFixture f;
  f.library.append(record("x", "\r\na\r\n\r\nb"));
  f.library.setSelectedRow(2);
  // A document taken from the library is GBK with CR LF, whatever file was open before.
  f.list.setFileForm({lyrics::FileForm::Encoding::Utf8, lyrics::FileForm::LineEnd::Lf});
  f.commands.openSavedRecord();
  EXPECT_EQ(f.list.fileForm(), lyrics::FileForm{});
  EXPECT_EQ(f.list.lines(), (std::vector<std::string>{"", "a", "", "b"}));
  EXPECT_EQ(f.status.text(StatusBar::Characters), "字:8");
}

TEST(SavedLyricsCommands, ExportWritesTheHeaderAndTheLinesOnTheDesktop) {
  CommandsFixture f;
  f.dialogs.desktop = platform::gbkPath(f.dir.file("桌面"));  // missing, and without a separator
  f.random.numbers = {1234567, 0, 9};
  f.library.append(record("/m/b.mp3", "x\r\n\r\ny"));
  const std::string header =
      std::string(36, ' ') +
      "青禾歌词编辑器，写歌词就这么简单~\r\n歌曲：歌曲    歌手：歌手\r\n专辑：专辑    编辑人：编辑"
      "\r\n歌曲路径：";
  for (int row : {0, 1, 2}) {
    f.library.setSelectedRow(row);
    f.commands.exportRecordToDesktop();
  }
  f.dialogs.desktop += "/";
  EXPECT_EQ(f.random.ranges, (std::vector<std::pair<int, int>>(3, {0, 9999999})));
  EXPECT_EQ(f.desktopFile(1234567), header + "/m/a.mp3    保存时间：2014年3月5日" +
                                        std::string(118, '=') + "\r\na\r\nbb\r\n");
  EXPECT_EQ(f.desktopFile(0), header + "    保存时间：2014年3月5日\r\n\r\n\r\n\r\n");
  EXPECT_EQ(f.desktopFile(9), header + "/m/b.mp3    保存时间：2014年3月5日" +
                                  std::string(118, '=') + "\r\nx\r\n\r\ny\r\n");
  EXPECT_TRUE(f.prompter.shown.empty());

  f.dialogs.desktop = platform::gbkPath(f.dir.file("plain")) + "/";
  f.dir.write("plain", "a file where the folder should be");
  f.commands.exportRecordToDesktop();
  ASSERT_EQ(f.prompter.shown.size(), 1u);
  EXPECT_EQ(f.prompter.shown[0].text,
            "文件保存失败：" + f.dialogs.desktop + "青禾歌词编辑器导出文本0.txt");
}

TEST(SavedLyricsCommands, DeleteAndClearAskFirstAndWriteThrough) {
  CommandsFixture f;
  std::filesystem::create_directory(f.dir.file("store"));
  f.library.setSelectedRow(0);
  f.prompter.answers = {false, true};
  f.commands.deleteSavedRecord();
  EXPECT_EQ(f.library.count(), 2);
  EXPECT_TRUE(std::filesystem::is_empty(f.dir.file("store")));
  f.commands.deleteSavedRecord();
  EXPECT_EQ(f.library.records(), std::vector<SavedLyricsRecord>{record("", "")});
  EXPECT_EQ(platform::readFileBytes(f.store.filePath(SavedLyricsRecord::Singer)).bytes,
            "歌手======");
  for (const auto& shown : f.prompter.shown) {
    EXPECT_EQ(shown.text, "确认删除当前选中的歌词文件？");
    EXPECT_EQ(shown.title, "tolva_提示：");
    EXPECT_EQ(shown.icon, platform::MessageIcon::None);
    EXPECT_TRUE(shown.question);
  }

  f.prompter.shown.clear();
  f.prompter.answers = {false, true, true};
  f.commands.clearSavedRecords();
  EXPECT_EQ(f.library.count(), 1);
  f.commands.clearSavedRecords();
  f.commands.clearSavedRecords();  // asked even when the library is empty
  EXPECT_EQ(f.library.count(), 0);
  EXPECT_EQ(f.prompter.shown.size(), 3u);
  EXPECT_EQ(f.prompter.shown[2].text, "确认清空所有歌词文件？");
  for (int k = 0; k < SavedLyricsRecord::kFieldCount; ++k) {
    EXPECT_EQ(platform::readFileBytes(f.store.filePath(k)).status, platform::ReadStatus::Ok);
    EXPECT_EQ(platform::readFileBytes(f.store.filePath(k)).bytes, "");
  }
}
