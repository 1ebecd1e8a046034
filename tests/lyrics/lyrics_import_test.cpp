#include "lyrics/lyrics_import.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>

#include "lyrics/text_rules.h"
#include "platform/file_io.h"
#include "platform/native_path.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace lyrics;
using Lines = std::vector<std::string>;

namespace {

struct ImportFixture : ::testing::Test {
  LyricsList list;
  StatusBar status;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  LyricsImporter importer{list, status, prompter, dialogs};
  testsupport::TempDir dir;

  void givenLines(const Lines& lines) {
    list.replaceAll(lines);
    list.setSelection(1);
  }
};

}  // namespace

TEST_F(ImportFixture, ImportWritesCountsAndSelectsTheFirstLine) {
  importer.importLyricsText("abc\r\ncd");
  EXPECT_EQ(list.lines(), (Lines{"abc", "cd"}));
  EXPECT_EQ(status.text(StatusBar::Characters), "字:3.5");
  EXPECT_EQ(status.text(StatusBar::Lines), "行:2");
  EXPECT_EQ(list.selection(), 0);

  importer.importLyricsText("ab\r\n\r\ncd\r\n");
  EXPECT_EQ(list.lines(), (Lines{"ab", "", "cd"}));
  EXPECT_EQ(status.text(StatusBar::Characters), "字:5");

  importer.importLyricsText("");
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.selection(), -1);
  EXPECT_EQ(status.text(StatusBar::Characters), "字:0");
  EXPECT_EQ(status.text(StatusBar::Lines), "行:0");
}

TEST_F(ImportFixture, OpenDialogStartsOnTheDesktopAndIgnoresCancelAndEmptyFiles) {
  givenLines({"keep", "me"});
  importer.openLyricsFile();  // cancelled
  ASSERT_EQ(dialogs.opened.size(), 1u);
  EXPECT_EQ(dialogs.opened[0].title, "tolva_打开歌词文件");
  EXPECT_EQ(dialogs.opened[0].filter, "文本格式(*.txt)|*.txt|歌词文件(*.lrc)|*.lrc");
  EXPECT_EQ(dialogs.opened[0].directory, dialogs.desktop);

  dialogs.choice = dir.write("zero.lrc", std::string("\0abc\r\n", 6));
  importer.openLyricsFile();
  dialogs.choice = dir.file("missing.lrc");
  importer.openLyricsFile();
  EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(status.text(StatusBar::Lines), "行：");
  EXPECT_TRUE(prompter.shown.empty());

  dialogs.choice = dir.write("song.lrc", std::string("[ti:歌]\r\n[00:01.00]第一句\r\nx\0tail", 30));
  importer.openLyricsFile();
  EXPECT_EQ(list.lines(), (Lines{"[ti:歌]", "[00:01.00]第一句", "x"}));
  EXPECT_EQ(list.selection(), 0);
}

TEST_F(ImportFixture, DropChecksTheNameBeforeReading) {
  givenLines({"keep"});
  importer.dropLyricsFile(dir.write("a.text", "x\r\n"));
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "歌词文件不正确，一般为：*.txt *.lrc");
  EXPECT_EQ(prompter.shown[0].title, "tolva_错误提示");
  EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(list.lines(), Lines{"keep"});

  // Several files arrive as one text whose last bytes are CR LF: refused.
  importer.dropLyricsFile(dir.write("a.txt", "x") + "\r\n" + dir.write("b.txt", "y") + "\r\n");
  EXPECT_EQ(prompter.shown.size(), 2u);

  // A refused name is never opened: a directory named like a video is not read.
  importer.dropLyricsFile(dir.path().string());
  EXPECT_EQ(prompter.shown.size(), 3u);

  importer.dropLyricsFile(dir.write("A.TXT", "one\r\ntwo"));
  EXPECT_EQ(list.lines(), (Lines{"one", "two"}));
  importer.dropLyricsFile(dir.write("lyricslrc", "three"));  // no dot needed
  EXPECT_EQ(list.lines(), Lines{"three"});

  importer.dropLyricsFile(dir.write("empty.txt", ""));
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(status.text(StatusBar::Characters), "字:0");
  EXPECT_EQ(status.text(StatusBar::Lines), "行:0");
  EXPECT_EQ(prompter.shown.size(), 3u);
}

TEST_F(ImportFixture, DropOfAFileThatCannotBeReadKeepsTheLines) {
  // Only a file that was read and found empty empties the list; a failed read must not wipe
  // unsaved lines and pass for an empty file.
  givenLines({"keep", "me"});
  std::filesystem::create_directory(dir.path() / "folder.lrc");
  importer.dropLyricsFile(dir.file("folder.lrc"));
  importer.dropLyricsFile(dir.file("gone.txt"));
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].text, "歌词文件无法读取，没有导入。");
  EXPECT_EQ(prompter.shown[0].title, "tolva_错误提示");
  EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(prompter.shown[1].text, prompter.shown[0].text);
  EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));
  EXPECT_EQ(list.selection(), 1);
  EXPECT_EQ(status.text(StatusBar::Lines), "行：");
}

TEST_F(ImportFixture, ANamedPipeCalledLikeALyricsFileDoesNotHangTheEditor) {
  givenLines({"keep"});
  const std::string pipe = dir.file("pipe.lrc");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  auto dropped = std::async(std::launch::async, [&] { importer.dropLyricsFile(pipe); });
  const bool finished = dropped.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
  if (!finished) {
    // Let a reader stuck in open() go, so the test ends instead of hanging.
    const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  }
  dropped.get();
  EXPECT_TRUE(finished);
  EXPECT_EQ(list.lines(), Lines{"keep"});
  EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(ImportFixture, DropOfAHugeLyricsFileIsRefusedWithAMessage) {
  givenLines({"keep"});
  const std::string path = dir.file("huge.txt");
  {
    std::ofstream out(path, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(LyricsImporter::kMaxFileBytes));
    out.put('x');
  }
  importer.dropLyricsFile(path);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].title, "tolva_错误提示");
  EXPECT_EQ(list.lines(), Lines{"keep"});
}

TEST_F(ImportFixture, CommandLineArgumentsAreJoinedIntoOnePath) {
  EXPECT_EQ(commandLinePath({}), "");
  EXPECT_EQ(commandLinePath({"a", "b.lrc"}), "ab.lrc");
  const std::string nativeName = platform::nativePath("歌词 一.lrc");
  dir.write(nativeName, std::string("l1\r\nl2\r\n\r\nl4\0l5", 15));
  const std::string gbkDir = platform::gbkPath(dir.path().string());
  importer.loadCommandLineFile({gbkDir + "/歌词", " 一.lrc"});
  EXPECT_EQ(list.lines(), (Lines{"l1", "l2", "", "l4"}));
  importer.loadCommandLineFile({});
  importer.loadCommandLineFile({dir.file("missing.lrc")});
  EXPECT_EQ(list.count(), 4);
  EXPECT_TRUE(prompter.shown.empty());
}

namespace {

// UTF-8 bytes of a u8 literal (the test's plain literals are GBK bytes).
std::string utf8(std::u8string_view text) { return {text.begin(), text.end()}; }

}  // namespace

TEST_F(ImportFixture, UTF8FilesAreConvertedOnEveryRouteAndOtherFilesStayBytes) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    std::string bytes;
    Lines lines;
    const char* characters;
  };
  const Case cases[] = {
      // Read as GBK, each line break after a Chinese character would pair with its last byte.
      {"four UTF-8 lines",
       utf8(u8"[ti:晴天]\r\n[00:01.00]故事的小黄花\r\n[00:05.00]从出生那年就飘着\r\n结束\r\n"),
       {"[ti:晴天]", "[00:01.00]故事的小黄花", "[00:05.00]从出生那年就飘着", "结束"},
       "字:34.5"},
      {"UTF-8 with a byte-order mark", bom + utf8(u8"晴天\r\nab"), {"晴天", "ab"}, "字:4"},
      {"ASCII after a byte-order mark", bom + "[ti:abc]\r\nline\r\n", {"[ti:abc]", "line"}, "字:8"},
      // Kept, the mark's last byte would pair with the CR and hide the break.
      {"only a byte-order mark and a break", bom + "\r\n", {""}, "字:1"},
      // A mark before a byte that is no UTF-8 promises nothing: every byte stays, the mark too.
      {"byte-order mark and a broken byte",
       bom + utf8(u8"天") + "\xFF",
       {bom + utf8(u8"天") + "\xFF"},
       "字:3.5"},
      // GBK Chinese is no UTF-8: every byte stays, whatever pairs with what.
      {"GBK with ASCII", "[00:01.00]第一句\r\nabc\r\n", {"[00:01.00]第一句", "abc"}, "字:11.5"},
      // UTF-8 but for one byte: read as GBK, "\xFF\r" is a character and no break is found.
      {"UTF-8 with one broken byte",
       utf8(u8"晴天") + "\xFF\r\nx",
       {utf8(u8"晴天") + "\xFF\r\nx"},
       "字:5"},
      {"an overlong form", "a\xC0\xAF\r\nb", {"a\xC0\xAF", "b"}, "字:3"},
      {"a cut-off sequence at the end", "ab\r\n\xE6\x99", {"ab", "\xE6\x99"}, "字:3"},
      {"plain ASCII", "a\r\nb", {"a", "b"}, "字:2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    givenLines({"old"});
    importer.dropLyricsFile(dir.write("drop.lrc", c.bytes));
    EXPECT_EQ(list.lines(), c.lines);
    EXPECT_EQ(status.text(StatusBar::Characters), c.characters);
    EXPECT_EQ(status.text(StatusBar::Lines), "行:" + std::to_string(c.lines.size()));

    givenLines({"old"});
    dialogs.choice = dir.write("open.txt", c.bytes);
    importer.openLyricsFile();
    EXPECT_EQ(list.lines(), c.lines);
    EXPECT_EQ(status.text(StatusBar::Characters), c.characters);

    list.clear();
    importer.loadCommandLineFile({dir.write("shell.lrc", c.bytes)});
    EXPECT_EQ(list.lines(), c.lines);
  }
  EXPECT_TRUE(prompter.shown.empty());

  // A file of nothing but the mark is an empty text: the dialog leaves the list alone.
  givenLines({"keep"});
  dialogs.choice = dir.write("mark.lrc", bom);
  importer.openLyricsFile();
  EXPECT_EQ(list.lines(), Lines{"keep"});
}

TEST_F(ImportFixture, AFileWithoutCrLfIsCutAtLfAndTheDocumentTakesItsForm) {
  const std::string bom = "\xEF\xBB\xBF";
  using Encoding = FileForm::Encoding;
  using LineEnd = FileForm::LineEnd;
  struct Case {
    const char* what;
    std::string bytes;
    Lines lines;
    FileForm form;
  };
  const Case cases[] = {
      {"LF only",
       "[ti:晴天]\n[00:01.00]第一句\n\nend\n",
       {"[ti:晴天]", "[00:01.00]第一句", "", "end"},
       {Encoding::Gbk, LineEnd::Lf}},
      // One CR LF anywhere keeps the designed rule: a bare LF stays inside its line.
      {"CR LF and LF", "a\r\nb\nc\r\nd\n", {"a", "b\nc", "d\n"}, {}},
      {"lone CR", "a\rb\r", {"a\rb\r"}, {}},
      {"lone CR and LF", "a\rb\nc", {"a\rb", "c"}, {Encoding::Gbk, LineEnd::Lf}},
      // An LF that is the second byte of a double-byte character is no break.
      {"LF inside a character", "ab\xB0\ncd\n", {"ab\xB0\ncd"}, {Encoding::Gbk, LineEnd::Lf}},
      {"empty", "", {}, {}},
      {"UTF-8 and LF",
       utf8(u8"[ti:晴天]\n故事的小黄花\n"),
       {"[ti:晴天]", "故事的小黄花"},
       {Encoding::Utf8, LineEnd::Lf}},
      {"UTF-8 with the mark and CR LF",
       bom + utf8(u8"晴天\r\nab"),
       {"晴天", "ab"},
       {Encoding::Utf8WithMark, LineEnd::CrLf}},
      {"UTF-8 with the mark and LF", bom + "ab\n", {"ab"}, {Encoding::Utf8WithMark, LineEnd::Lf}},
      // After the mark GBK: read byte for byte, the mark at the front of the first line.
      {"a mark before GBK", bom + "ab\r\n晴天\n", {bom + "ab", "晴天\n"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list.setFileForm({Encoding::Utf8, LineEnd::Lf});
    importer.dropLyricsFile(dir.write("drop.lrc", c.bytes));
    EXPECT_EQ(list.lines(), c.lines);
    EXPECT_EQ(list.fileForm(), c.form);

    list.clear();
    importer.loadCommandLineFile({dir.write("shell.lrc", c.bytes)});
    EXPECT_EQ(list.lines(), c.lines);
    EXPECT_EQ(list.fileForm(), c.form);

    // The large-file path reads in pieces on a worker thread and must agree.
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
      const LyricsFile file =
          loadLyricsFile(dir.file("drop.lrc"), LyricsImporter::kMaxFileBytes, {}, piece);
      EXPECT_EQ(file.text.lineCount(), c.lines.size()) << piece;
      EXPECT_EQ((FileForm{file.encoding, file.text.lineEnd()}), c.form) << piece;
    }
  }
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ImportFixture, BadFilesLoadByteForByteAndLoseNothing) {
  // Bytes of every value but zero, so the whole file is text, ending on a lone lead byte.
  std::string binary;
  for (int i = 0; i < 70'000; ++i) binary += static_cast<char>(1 + (i * 7919) % 255);
  binary += '\xFF';
  std::string emptyLines;
  for (int i = 0; i < 2'000'000; ++i) emptyLines += "\r\n";
  struct Case {
    const char* what;
    std::string bytes;
    // The text the list holds, up to the first zero byte.
    std::string text;
    std::size_t lines;
    bool dialogImports;
  };
  const Case cases[] = {
      {"an image renamed .lrc", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + binary,
       "\x89PNG\r\n\x1A\n", 2, true},
      {"binary without a zero byte", binary, binary, splitLyricsText(binary).size(), true},
      {"0 bytes", "", "", 0, false},
      {"only zero bytes", std::string(4096, '\0'), "", 0, false},
      // Lead bytes with no valid trail: each still takes the next byte with it.
      {"invalid GBK", "ab\xFF\xFE\r\n\x81\r\n\x80\x80x\r\n\xFF",
       "ab\xFF\xFE\r\n\x81\r\n\x80\x80x\r\n\xFF", 3, true},
      {"two million empty lines", emptyLines, emptyLines, 2'000'000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.write("bad.lrc", c.bytes);
    const std::string characters = "字:" + formatReal(static_cast<double>(c.text.size()) / 2.0);
    const auto checkImported = [&] {
      EXPECT_EQ(list.count(), static_cast<int>(c.lines));
      EXPECT_EQ(status.text(StatusBar::Characters), characters);
      EXPECT_EQ(status.text(StatusBar::Lines), "行:" + std::to_string(c.lines));
      EXPECT_EQ(list.selection(), c.lines == 0 ? -1 : 0);
      // Saved again, the lines give back the text, plus the break after the last line.
      const std::string saved = joinLyricsText(list);
      EXPECT_TRUE(saved == c.text || saved == c.text + "\r\n") << saved.size();
    };

    givenLines({"keep", "me"});
    importer.dropLyricsFile(path);
    checkImported();

    givenLines({"keep", "me"});
    dialogs.choice = path;
    importer.openLyricsFile();
    if (c.dialogImports) {
      checkImported();
    } else {
      // The dialog ignores a file without text and keeps the lines.
      EXPECT_EQ(list.lines(), (Lines{"keep", "me"}));
      EXPECT_EQ(status.text(StatusBar::Lines), "行:0");
    }
  }
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ImportFixture, ALoadReportsItsProgressInOrderAndCanBeCalledOff) {
  std::string gbkText;
  while (gbkText.size() < (std::size_t{12} << 20)) gbkText += "[00:01.00]一句歌词\r\n";
  std::string lfText = gbkText;
  std::erase(lfText, '\r');
  // The same text as UTF-8 is converted on the way, in pieces; with LF it is cut at LF.
  for (const std::string& text : {gbkText, platform::nativePath(gbkText), lfText}) {
    SCOPED_TRACE(text.size());
    const std::string path = dir.write("long.lrc", text);
    std::vector<double> shares;
    const LyricsFile whole =
        loadLyricsFile(path, LyricsImporter::kMaxFileBytes, [&](double share) {
          shares.push_back(share);
          return true;
        });
    EXPECT_FALSE(whole.cancelled);
    EXPECT_EQ(whole.status, platform::ReadStatus::Ok);
    EXPECT_TRUE(whole.text.bytes() == (text == lfText ? lfText : gbkText));
    EXPECT_EQ(whole.text.lineCount(), splitLyricsText(gbkText).size());
    // Several reports while reading and while cutting, never going back, never past the end.
    ASSERT_GE(shares.size(), 4u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_GT(shares.front(), 0.0);
    EXPECT_LE(shares.back(), 1.0);
    EXPECT_LT(shares.front(), 0.5);
    EXPECT_GT(shares.back(), 0.5);

    for (const double stopAt : {0.2, 0.7}) {
      SCOPED_TRACE(stopAt);
      const LyricsFile stopped = loadLyricsFile(path, LyricsImporter::kMaxFileBytes,
                                                [&](double share) { return share < stopAt; });
      EXPECT_TRUE(stopped.cancelled);
      EXPECT_EQ(stopped.text.lineCount(), 0u);
      EXPECT_TRUE(stopped.text.bytes().empty());
    }
  }
}

TEST_F(ImportFixture, AFileReadInPiecesGivesTheTextOfTheWholeFile) {
  const std::string utf8 = platform::nativePath("歌词 \xA1\xEA");  // 歌词 and a sign
  const std::string cases[] = {
      "",
      "plain ASCII\r\nline two",
      "[00:01.00]一句歌词\r\n",  // GBK
      utf8 + "\r\n" + "\xF0\x9F\x8E\xB5 \xC3\xA9\r\n",
      "\xEF\xBB\xBF",
      "\xEF\xBB\xBF" + utf8 + "\xFF\xE4\xB8\r\n\x80\x80\x80\x80z",
      utf8 + std::string("\0\xFF\xFE", 3),       // the text ends at the zero byte
      utf8 + "\xE6\xAD",                          // a character cut off at the end
      utf8 + "\xC0\xAF" + utf8,                   // an overlong form: no UTF-8
      std::string("\xEF\xBB\x00\xBF", 4) + utf8,  // no mark
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    const std::string path = dir.write("pieces.lrc", bytes);
    const std::string expected = lyricsFileText(bytes);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3},
                                    std::size_t{5}, std::size_t{1} << 20}) {
      SCOPED_TRACE(piece);
      const LyricsFile file = loadLyricsFile(path, LyricsImporter::kMaxFileBytes, {}, piece);
      EXPECT_EQ(file.status, platform::ReadStatus::Ok);
      EXPECT_TRUE(file.text.bytes() == expected);
    }
  }
}

namespace {

// Holds every read until the test lets it go, as the window's reader does with a large file.
struct HeldReader : LyricsFileReader {
  void read(const std::string& path, std::function<void(LyricsFile)> done) override {
    held.push_back([path, done = std::move(done)] { done(loadLyricsFile(path, kMaxFileBytes)); });
  }
  std::vector<std::function<void()>> held;
};

}  // namespace

TEST(LyricsImporter, AReadThatEndsLaterImportsThenAndOnlyThen) {
  LyricsList list;
  StatusBar status;
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::TempDir dir;
  HeldReader reader;
  LyricsImporter importer(list, status, prompter, dialogs, &reader);
  list.replaceAll({"old"});
  dialogs.choice = dir.write("a.lrc", "one\r\ntwo\r\n");
  importer.openLyricsFile();
  importer.dropLyricsFile(dir.write("b.txt", "three"));
  importer.dropLyricsFile(dir.file("gone.txt"));
  ASSERT_EQ(reader.held.size(), 3u);
  EXPECT_EQ(list.lines(), Lines{"old"});
  EXPECT_EQ(status.text(StatusBar::Lines), "行：");

  reader.held[0]();
  EXPECT_EQ(list.lines(), (Lines{"one", "two"}));
  EXPECT_EQ(status.text(StatusBar::Characters), "字:5");
  EXPECT_EQ(list.selection(), 0);
  reader.held[1]();
  EXPECT_EQ(list.lines(), Lines{"three"});
  reader.held[2]();
  EXPECT_EQ(list.lines(), Lines{"three"});
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "歌词文件无法读取，没有导入。");
}
