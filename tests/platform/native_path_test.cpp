#include "platform/native_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/file_io.h"
#include "platform/utf8_text.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

// A file name as the file system holds it, and the document text it must become. The bytes
// are spelled out: this file's narrow literals are compiled to GB18030.
struct NameCase {
  const char* what;
  std::string native;
  std::string gbk;
};

// The escape code of an undecodable byte.
std::string escaped(unsigned char byte) {
  const int index = byte - 0x80;
  return std::string("\xFE\x30") + static_cast<char>(0x81 + index / 10) +
         static_cast<char>(0x30 + index % 10);
}

const std::vector<NameCase>& nameCases() {
  static const std::vector<NameCase> cases = {
      {"ASCII", "a b.lrc", "a b.lrc"},
      {"two-byte GBK", "\xE6\x99\xB4\xE5\xA4\xA9", "\xC7\xE7\xCC\xEC"},
      {"U+FE10 vertical comma", "\xEF\xB8\x90", "\x84\x31\x82\x36"},
      {"U+9FB4", "\xE9\xBE\xB4", "\x82\x35\x90\x37"},
      {"U+E81E private use", "\xEE\xA0\x9E", "\xFE\x59"},
      {"U+E78D private use", "\xEE\x9E\x8D", "\xA6\xD9"},
      {"U+E000 private use", "\xEE\x80\x80", "\xAA\xA1"},
      {"U+0080 four-byte", "\xC2\x80", std::string("\x81\x30\x81\x30")},
      {"U+20087 four-byte", "\xF0\xA0\x82\x87", "\x95\x32\x90\x31"},
      {"U+10FFFF last character", "\xF4\x8F\xBF\xBF", "\xE3\x32\x9A\x35"},
      {"U+FFFD itself", "\xEF\xBF\xBD", "\x84\x31\xA4\x37"},
      {"lone byte FF", "a\xFF", "a" + escaped(0xFF)},
      {"lone continuation 80", "\x80z", escaped(0x80) + "z"},
      {"Latin-1 name", "caf\xE9.lrc", "caf" + escaped(0xE9) + ".lrc"},
      {"cut-off character", "\xE6\x99", escaped(0xE6) + escaped(0x99)},
      {"overlong slash", "\xC0\xAF", escaped(0xC0) + escaped(0xAF)},
      {"encoded surrogate", "\xED\xA0\x80", escaped(0xED) + escaped(0xA0) + escaped(0x80)},
      {"above U+10FFFF", "\xF4\x90\x80\x80",
       escaped(0xF4) + escaped(0x90) + escaped(0x80) + escaped(0x80)},
  };
  return cases;
}

}  // namespace

TEST(NativePath, EveryNameBecomesItsDocumentTextAndComesBack) {
  std::set<std::string> documentTexts;
  for (const auto& c : nameCases()) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(gbkPath(c.native), c.gbk);
    EXPECT_EQ(nativePath(c.gbk), c.native);
    // Embedded in a longer path nothing changes either.
    const std::string longer = "/home/\xE6\x88\x91/" + c.native + "/x.lrc";
    EXPECT_EQ(nativePath(gbkPath(longer)), longer);
    documentTexts.insert(c.gbk);
  }
  EXPECT_EQ(documentTexts.size(), nameCases().size());
  // Every undecodable byte has its own code, and each code brings back its byte.
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string native(1, static_cast<char>(byte));
    ASSERT_EQ(nativePath(gbkPath(native)), native) << byte;
  }
}

TEST(NativePath, DocumentBytesThatAreNoCharacterPassUnchanged) {
  // Texts that no conversion produced (a stray lead byte, a cut-off four-byte form, an
  // unassigned code, a code just past the escapes) still give the file system their bytes.
  for (const std::string& text : {std::string("a\x80"), std::string("\xFF"), std::string("x\x81"),
                                  std::string("\x81\x30\x81"), std::string("\x84\x31\xA5\x30"),
                                  std::string("\xFE\x30\x8D\x38"), std::string("\x81\x7F")}) {
    EXPECT_EQ(nativePath(text), text);
  }
}

TEST(NativePath, UTF8TextsBecomeGB18030WithBrokenBytesAsReplacementCharacters) {
  const std::string replacement = "\x84\x31\xA4\x37";
  for (const auto& c : nameCases()) {
    SCOPED_TRACE(c.what);
    // The path table's escape codes stand each for one broken byte.
    std::string expected = c.gbk;
    bool broken = false;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const std::string code = escaped(static_cast<unsigned char>(byte));
      for (auto at = expected.find(code); at != std::string::npos; at = expected.find(code, at)) {
        expected.replace(at, code.size(), replacement);
        broken = true;
      }
    }
    EXPECT_EQ(gb18030FromUtf8(c.native), expected);
    const bool ascii = std::all_of(c.native.begin(), c.native.end(),
                                   [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    EXPECT_EQ(isMultiByteUtf8(c.native), !broken && !ascii);
  }
  EXPECT_FALSE(isMultiByteUtf8(""));
  // A long text is converted in pieces; a four-byte character across a piece's end stays whole.
  for (const std::size_t before : {32766u, 32767u, 32768u, 65535u}) {
    const std::string text = std::string(before, 'a') + "\xF0\xA0\x82\x87" + "\xE6\x99\xB4z";
    EXPECT_EQ(gb18030FromUtf8(text), std::string(before, 'a') + "\x95\x32\x90\x31\xC7\xE7z");
    EXPECT_TRUE(isMultiByteUtf8(text));
  }
}

TEST(NativePath, RealFilesOpenUnderTheirOwnNames) {
  // Every name lives in one folder, so opening a wrong but existing file shows as wrong
  // content, not as a missing file.
  testsupport::TempDir dir;
  const std::string folder = gbkPath(dir.path().string());
  for (const auto& c : nameCases()) {
    const std::string name = c.native + ".lrc";
    if (std::filesystem::exists(dir.path() / name)) continue;
    dir.write(name, c.what);
  }
  for (const auto& c : nameCases()) {
    SCOPED_TRACE(c.what);
    const std::string path = folder + "/" + c.gbk + ".lrc";
    ASSERT_TRUE(fileExists(path));
    const FileBytes file = readFileBytes(path);
    EXPECT_EQ(file.status, ReadStatus::Ok);
    EXPECT_EQ(file.bytes, c.what);
  }

  // Written through the document text, a file gets exactly the name's bytes.
  testsupport::TempDir written;
  const std::string writtenFolder = gbkPath(written.path().string());
  std::set<std::string> expected;
  for (const auto& c : nameCases()) {
    ASSERT_TRUE(writeFileReplacing(writtenFolder + "/" + c.gbk + ".txt", c.what));
    expected.insert(c.native + ".txt");
  }
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(written.path())) {
    names.insert(entry.path().filename().native());
  }
  EXPECT_EQ(names, expected);
}
