#include "lyrics/signature.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "support/fixed_time_tag.h"
#include "support/temp_dir.h"

using namespace lyrics;
using Lines = std::vector<std::string>;

namespace {

struct FakePanel : SignaturePanelView {
  void move(int newLeft, int newTop) override {
    left = newLeft;
    top = newTop;
  }
  void focusEditBox() override { ++focused; }
  std::string text() const override { return content; }
  void setText(const std::string& text) override { content = text; }
  int left = Signature::kParkedLeft;
  int top = Signature::kParkedTop;
  int focused = 0;
  std::string content;
};

struct SignatureFixture {
  explicit SignatureFixture(const Lines& lines = {}) {
    for (const auto& line : lines) list.appendLine(line);
  }
  testsupport::TempDir dir;
  FakePanel panel;
  LyricsList list;
  testsupport::FixedTimeTag clock;
  Signature signature{panel, list, clock, platform::gbkPath(dir.path().string())};
  const std::string insertedDefault = "[00:00.00]青禾程序集—LRC歌词编辑器   写歌词就这么简单";
};

}  // namespace

TEST(Signature, AddSignatureGoesBeforeTheSelectedLineWhichStaysSelected) {
  SignatureFixture f({"a", "b"});
  f.list.setSelection(1);
  f.signature.addSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"a", f.insertedDefault, "b"}));
  EXPECT_EQ(f.list.selection(), 2);

  SignatureFixture first({"a", "b"});
  first.list.setSelection(0);
  first.signature.addSignature();
  EXPECT_EQ(first.list.lines(), (Lines{first.insertedDefault, "a", "b"}));
  EXPECT_EQ(first.list.selection(), 1);

  SignatureFixture none({"a"});
  none.signature.addSignature();
  EXPECT_EQ(none.list.lines(), (Lines{none.insertedDefault, "a"}));
  EXPECT_EQ(none.list.selection(), 1);

  SignatureFixture empty;
  empty.clock.set("[01:02.03]");
  empty.signature.addSignature();
  EXPECT_EQ(empty.list.lines(), Lines{"[01:02.03]青禾程序集—LRC歌词编辑器   写歌词就这么简单"});
  EXPECT_EQ(empty.list.selection(), 0);
  EXPECT_FALSE(platform::fileExists(empty.signature.filePath()));
}

TEST(Signature, AppendSignatureSelectsTheNewLastLine) {
  SignatureFixture empty;
  empty.signature.appendSignature();
  EXPECT_EQ(empty.list.lines(), Lines{empty.insertedDefault});
  EXPECT_EQ(empty.list.selection(), 0);
  SignatureFixture f({"a", "b"});
  f.list.setSelection(0);
  f.signature.appendSignature();
  f.signature.appendSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b", f.insertedDefault, f.insertedDefault}));
  EXPECT_EQ(f.list.selection(), 3);
}

TEST(Signature, PanelShowsConfirmsAndCloses) {
  SignatureFixture f({"a"});
  f.signature.setSignature();
  EXPECT_EQ(f.panel.left, 120);
  EXPECT_EQ(f.panel.top, 180);
  EXPECT_EQ(f.panel.focused, 1);
  EXPECT_EQ(f.panel.content, "青禾歌词编辑器，写歌词就这么简单~");

  f.panel.content.clear();
  f.signature.confirmSignature();  // an empty box is refused and the panel stays
  EXPECT_EQ(f.panel.left, 120);
  EXPECT_FALSE(platform::fileExists(f.signature.filePath()));

  f.panel.content = "我的签名";
  f.signature.confirmSignature();
  EXPECT_EQ(f.panel.left, 1100);
  EXPECT_EQ(f.panel.top, 150);
  EXPECT_EQ(f.dir.read("GEXINGQIANMING.ini"), "[GEXINGQIANMING]\r\nPEIZHI=我的签名\r\n");

  f.panel.content = "typed but closed";
  f.signature.setSignature();
  EXPECT_EQ(f.panel.content, "我的签名");
  f.panel.content = "not stored";
  f.signature.closeSignaturePanel();
  EXPECT_EQ(f.panel.left, 1100);
  EXPECT_EQ(f.signature.storedValue(), "我的签名");

  f.list.setSelection(0);
  f.signature.addSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"[00:00.00]我的签名", "a"}));
}

TEST(Signature, EmptyStoredValueInsertsNothingButStillMovesTheSelection) {
  SignatureFixture f({"a", "b", "c"});
  f.dir.write("GEXINGQIANMING.ini", "[GEXINGQIANMING]\r\nPEIZHI=\r\n");
  f.list.setSelection(0);
  f.signature.addSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "b", "c"}));
  EXPECT_EQ(f.list.selection(), 1);
  f.signature.appendSignature();
  EXPECT_EQ(f.list.count(), 3);
  EXPECT_EQ(f.list.selection(), 2);
  f.signature.setSignature();
  EXPECT_EQ(f.panel.content, "");

  // A file without the key reads as empty too, not as the default.
  f.dir.write("GEXINGQIANMING.ini", "[other]\r\nk=v\r\n");
  f.signature.setSignature();
  EXPECT_EQ(f.panel.content, "");
}

TEST(Signature, StoringKeepsOtherEntriesAndKeepsTheValueOnOneLine) {
  SignatureFixture f({"x"});
  f.dir.write("GEXINGQIANMING.ini",
              "[other]\r\nk=v\r\n[GEXINGQIANMING]\r\nPEIZHI=old\r\nmore=1\r\n");
  f.panel.content = "line one\r\nline two\nthree";
  f.signature.confirmSignature();
  EXPECT_EQ(f.dir.read("GEXINGQIANMING.ini"),
            "[other]\r\nk=v\r\n[GEXINGQIANMING]\r\nPEIZHI=line one line two three\r\nmore=1\r\n");
  f.signature.appendSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"x", "[00:00.00]line one line two three"}));
}

TEST(Signature, ReadStopsAtTheBufferSizeWithoutSplittingACharacter) {
  SignatureFixture f;
  // 10238 ASCII bytes and then a two-byte character: the character would need bytes
  // 10238..10239, but only 10239 bytes fit before the terminating zero.
  const std::string value = std::string(10238, 'x') + "\xC7\xE0" + "tail";
  f.dir.write("GEXINGQIANMING.ini", "[GEXINGQIANMING]\r\nPEIZHI=" + value + "\r\n");
  EXPECT_EQ(f.signature.storedValue(), std::string(10238, 'x'));
  f.dir.write("GEXINGQIANMING.ini", "[GEXINGQIANMING]\r\nPEIZHI=" + std::string(10300, 'y'));
  EXPECT_EQ(f.signature.storedValue()->size(), 10239u);
}

TEST(Signature, UnwritableFileKeepsThePanelOpen) {
  testsupport::TempDir dir;
  FakePanel panel;
  LyricsList list;
  testsupport::FixedTimeTag clock;
  Signature signature{panel, list, clock, platform::gbkPath(dir.file("no such folder"))};
  signature.setSignature();
  panel.content = "abc";
  signature.confirmSignature();
  EXPECT_EQ(panel.left, Signature::kShownLeft);
  EXPECT_EQ(panel.content, "abc");
}

TEST(Signature, StoringReplacesTheFileWholeAndLeavesNothingBeside) {
  namespace fs = std::filesystem;
  SignatureFixture f;
  const std::string path = f.dir.write("GEXINGQIANMING.ini", "[GEXINGQIANMING]\r\nPEIZHI=old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  f.panel.content = "new";
  f.signature.confirmSignature();
  EXPECT_EQ(f.dir.read("GEXINGQIANMING.ini"), "[GEXINGQIANMING]\r\nPEIZHI=new\r\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(f.dir.path()), fs::directory_iterator()), 1);

  // A write that cannot be finished keeps the panel open and leaves no temporary file.
  SignatureFixture blocked;
  fs::create_directory(blocked.dir.file("GEXINGQIANMING.ini"));
  blocked.signature.setSignature();
  blocked.panel.content = "abc";
  blocked.signature.confirmSignature();
  EXPECT_EQ(blocked.panel.left, Signature::kShownLeft);
  EXPECT_EQ(std::distance(fs::directory_iterator(blocked.dir.path()), fs::directory_iterator()), 1);
}

TEST(Signature, ASignatureFileWithLoneCrLineEndsIsReadAndRewritten) {
  SignatureFixture f({"a"});
  f.dir.write("GEXINGQIANMING.ini", "[GEXINGQIANMING]\rPEIZHI=mine\r");
  f.signature.setSignature();
  EXPECT_EQ(f.panel.content, "mine");
  f.panel.content = "ours";
  f.signature.confirmSignature();
  EXPECT_EQ(f.dir.read("GEXINGQIANMING.ini"), "[GEXINGQIANMING]\rPEIZHI=ours\r");
  f.signature.appendSignature();
  EXPECT_EQ(f.list.lines(), (Lines{"a", "[00:00.00]ours"}));
}
