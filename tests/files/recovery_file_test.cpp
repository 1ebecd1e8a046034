#include "files/recovery_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>

#include "files/document_recovery.h"
#include "platform/file_io.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

namespace {

using files::decodeRecoveryFile;
using files::encodeRecoveryFile;

// A document: its lines with odd bytes (a lone CR and LF, a zero byte, a GBK character whose
// second byte is "]", bytes that are no GB18030), the selection, the form and the side texts.
const std::vector<std::string> kLines = {
    "[00:01.00]\xC7\xE0\xBA\xCC", "", "a\rb\nc", std::string("x\0y", 3), "\x81]\xFF\xFE",
    std::string(70000, 'z')};
const std::vector<std::string> kSides = {"\xB8\xE8\xCA\xD6", "", "al", "by", "1", "", "mp3", "", "",
                                         "/s/\xFF.mp3"};

std::vector<std::string> linesOf(const lyrics::LyricsText& text) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.lineCount(); ++i) lines.emplace_back(text.line(i));
  return lines;
}

std::string encoded(const std::vector<std::string>& lines, int selection) {
  lyrics::LyricsList list;
  list.appendLines(lines);
  return encodeRecoveryFile({list.snapshot(),
                             selection,
                             {lyrics::FileForm::Encoding::Utf8, lyrics::FileForm::LineEnd::Lf},
                             kSides});
}

void putU32(std::string& file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
}

// Brings the ended run's document back as the window does: restore() hands the file to the
// recovery's thread, whose call says it is read, and finishRestore() puts it in. Waits at most
// 10 s for that call. False when nothing was started or nothing changed.
bool restoreAndWait(files::DocumentRecovery& recovery) {
  std::mutex mutex;
  std::condition_variable wake;
  bool read = false;
  recovery.setRestoreReady([&] {
    std::lock_guard lock(mutex);
    read = true;
    wake.notify_all();
  });
  bool arrived = false;
  if (recovery.restore()) {
    std::unique_lock lock(mutex);
    arrived = wake.wait_for(lock, std::chrono::seconds(10), [&] { return read; });
    EXPECT_TRUE(arrived) << "waited 10 s for the recovery file to be read";
  }
  recovery.setRestoreReady({});
  return arrived && recovery.finishRestore();
}

}  // namespace

// What goes in comes back byte for byte; a damaged file gives nothing back, never a crash.
TEST(RecoveryFile, RoundTripsByteForByteAndRefusesEveryDamage) {
  const std::vector<std::string>& lines = kLines;
  const std::string good = encoded(lines, 2);
  auto document = decodeRecoveryFile(good);
  ASSERT_TRUE(document);
  EXPECT_EQ(linesOf(document->lines), lines);
  EXPECT_EQ(document->selection, 2);
  EXPECT_EQ(document->form.encoding, lyrics::FileForm::Encoding::Utf8);
  EXPECT_EQ(document->form.lineEnd, lyrics::FileForm::LineEnd::Lf);
  EXPECT_EQ(document->sides, kSides);
  EXPECT_EQ(files::recoveryLineCount(good), 6u);
  const auto empty = decodeRecoveryFile(encoded({}, -1));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->lines.lineCount(), 0u);

  // Each case damages the good file; "sealed" ones get a right checksum again, so the checks
  // of the counts themselves must catch them.
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    bool sealed;
  };
  const Case cases[] = {
      {"empty", [](std::string& f) { f.clear(); }, false},
      {"truncated in the head", [](std::string& f) { f.resize(30); }, false},
      {"truncated in the text", [](std::string& f) { f.resize(f.size() - 100); }, false},
      {"one byte longer", [](std::string& f) { f.push_back('\0'); }, false},
      {"binary", [](std::string& f) { f.assign(4096, '\x9C'); }, false},
      {"a lyrics text", [](std::string& f) { f = "[ti:x]\r\n[00:01.00]a\r\n"; }, false},
      {"a flipped text byte", [](std::string& f) { f[f.size() - 20] ^= 1; }, false},
      {"another version", [](std::string& f) { putU32(f, 8, 2); }, true},
      {"line count one more", [](std::string& f) { putU32(f, 16, 7); }, true},
      {"huge line count", [](std::string& f) { putU32(f, 16, 0xFFFFFFFF); }, true},
      {"huge text size", [](std::string& f) { putU32(f, 28, 0x7FFFFFFF); }, true},
      {"selection past the end", [](std::string& f) { putU32(f, 20, 6); }, true},
      {"selection below -1", [](std::string& f) { putU32(f, 20, 0xFFFFFFFE); }, true},
      {"too many sides", [](std::string& f) { putU32(f, 32, 65); }, true},
      {"unknown encoding", [](std::string& f) { f[12] = 3; }, true},
      {"line lengths that do not add up",
       [](std::string& f) {
         // The first two line lengths (after the sides) traded for others of the same sum.
         std::size_t lengths = 48 + 4 * kSides.size();
         for (const std::string& side : kSides) lengths += side.size();
         putU32(f, lengths, 0);
         putU32(f, lengths + 4, 15);
       },
       true},
      {"a side length past the sides", [](std::string& f) { putU32(f, 48, 1000); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = good;
    c.damage(file);
    if (c.sealed) files::sealRecoveryFile(file);
    EXPECT_FALSE(decodeRecoveryFile(file));
  }
  // Every cut of a small file is refused.
  const std::string small = encoded({"ab", "c"}, 0);
  for (std::size_t size = 0; size < small.size(); ++size) {
    EXPECT_FALSE(decodeRecoveryFile(small.substr(0, size))) << size;
  }
}

// A snapshot keeps the lines it was taken of while the list goes on changing.
TEST(RecoveryFile, SnapshotsKeepTheirLinesWhileTheListChanges) {
  lyrics::LyricsList list;
  list.appendLines({"a", "b"});
  list.setLine(0, "a2");  // into the growing block that later edits append to
  const lyrics::LyricsSnapshot before = list.snapshot();
  for (int i = 0; i < 3000; ++i)
    list.setLine(i % 2, std::string(1000, static_cast<char>('c' + i % 20)));
  list.insertLine(0, "new");
  list.clear();
  ASSERT_EQ(before.count(), 2);
  EXPECT_EQ(before.line(0), "a2");
  EXPECT_EQ(before.line(1), "b");
}

// A song's change is kept within a second; a huge document, whose write takes long, is written
// at most a tenth of the time, and still within ten seconds.
TEST(RecoveryFile, AChangeWaitsLongerOnlyForAHugeDocument) {
  constexpr std::int64_t kMs = 1'000'000;
  const std::pair<std::int64_t, int> cases[] = {
      {0, 1000}, {2 * kMs, 1000}, {100 * kMs, 1000}, {350 * kMs, 3500}, {5000 * kMs, 10'000}};
  for (const auto& [writeNs, delayMs] : cases) {
    EXPECT_EQ(files::DocumentRecovery::writeDelayMs(writeNs), delayMs) << writeNs;
  }
}

// Each run writes a file of its own: a new run's work never overwrites what an ended run left,
// which it brings back as one undoable step and then takes over.
TEST(RecoveryFile, ANewRunBringsBackTheEndedRunsDocumentAsOneStep) {
  testsupport::TempDir folder;
  testsupport::RecordingPrompter prompter;
  struct Run {
    Run(const std::string& folder, platform::Prompter& prompter)
        : history(list, sides()), recovery(folder, list, sides(), history, prompter) {}
    lyrics::UndoHistory::Sides sides() {
      return {[this] { return std::vector<std::string>{singer}; },
              [this](const std::vector<std::string>& texts) { singer = texts.at(0); }};
    }
    std::string singer;
    lyrics::LyricsList list;
    lyrics::UndoHistory history;
    files::DocumentRecovery recovery;
  };
  const auto filesIn = [&folder] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };

  std::string firstFile;
  {
    Run first(folder.file(""), prompter);
    first.recovery.writeAndWait();  // no line yet: nothing is written
    EXPECT_TRUE(platform::readFileBytes(first.recovery.ownFile()).bytes.empty());
    first.list.appendLines({"[00:01.00]a", "b"});
    first.list.setSelection(1);
    first.singer = "s1";
    first.recovery.noteChange();
    first.recovery.writeAndWait();
    firstFile = first.recovery.ownFile();
    // A second editor while the first runs sees nothing to bring back.
    Run second(folder.file(""), prompter);
    EXPECT_FALSE(second.recovery.canRestore());
  }
  Run next(folder.file(""), prompter);
  ASSERT_TRUE(next.recovery.canRestore());
  next.list.appendLines({"other"});
  next.singer = "s2";
  next.history.settle();
  next.recovery.noteChange();
  next.recovery.writeAndWait();
  EXPECT_EQ(filesIn().size(), 3u);  // the ended run's file, this run's file and its lock

  ASSERT_TRUE(restoreAndWait(next.recovery));
  EXPECT_EQ(next.list.lines(), (std::vector<std::string>{"[00:01.00]a", "b"}));
  EXPECT_EQ(next.list.selection(), 1);
  EXPECT_EQ(next.singer, "s1");
  next.recovery.writeAndWait();
  EXPECT_FALSE(std::filesystem::exists(platform::nativePath(firstFile)));
  EXPECT_FALSE(next.recovery.canRestore());
  // One step: undo gives back this run's own document.
  ASSERT_TRUE(next.history.undo());
  EXPECT_EQ(next.list.lines(), std::vector<std::string>{"other"});
  EXPECT_EQ(next.singer, "s2");
  EXPECT_TRUE(prompter.shown.empty());

  // Nothing left to bring back, and a damaged file: each says so and changes nothing.
  EXPECT_FALSE(restoreAndWait(next.recovery));
  testsupport::TempDir other;
  other.write("recovery-1-1.bin", encoded({"x"}, 0).substr(0, 60));
  other.write("recovery-1-1.bin.tmp42", "half a file of a killed write");
  // A lock half claimed an hour ago was left by a dead run; one just made is being claimed.
  other.write("recovery-2-2.locking", "");
  std::filesystem::last_write_time(
      other.file("recovery-2-2.locking"),
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  other.write("recovery-3-3.locking", "");
  Run damaged(other.file(""), prompter);
  EXPECT_FALSE(std::filesystem::exists(other.file("recovery-1-1.bin.tmp42")));
  EXPECT_FALSE(std::filesystem::exists(other.file("recovery-2-2.locking")));
  EXPECT_TRUE(std::filesystem::exists(other.file("recovery-3-3.locking")));
  EXPECT_TRUE(damaged.recovery.canRestore());  // the head alone looks right
  EXPECT_FALSE(restoreAndWait(damaged.recovery));
  EXPECT_EQ(damaged.list.count(), 0);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_NE(prompter.shown[1].text.find("\xCB\xF0\xBB\xB5"), std::string::npos);  // 损坏
}
