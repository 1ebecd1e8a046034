// The import path: a lyrics file's bytes become the document's text (UTF-8 converted to GB18030,
// everything else byte for byte) and then list lines and counts, on the drop route through a
// real file. A converted text has exactly the lines of its UTF-8 form, each the same characters.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "lyrics/lyrics_import.h"
#include "lyrics/text_rules.h"
#include "platform/native_path.h"
#include "support/scripted_dialogs.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file a drop delivers, in memory where the machine has /dev/shm.
const std::string& dropPath() {
  static const fuzzing::ScratchFolder folder("lrc-import-fuzz");
  static const std::string path = folder.path() + "/dropped.lrc";
  return path;
}

// The pieces between raw CR LF pairs, as a UTF-8 reader sees lines (the last one only when
// it is not empty).
std::vector<std::string_view> utf8Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string_view::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool ascii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view bytes = fuzzing::bytesOf(data, size);
  const std::string_view cut = lyrics::textUntilZero(bytes);
  const std::string text = lyrics::lyricsFileText(std::string(bytes));
  const std::vector<std::string> lines = lyrics::splitLyricsText(text);

  const bool marked = cut.starts_with(kByteOrderMark);
  if (!marked && !platform::isMultiByteUtf8(cut)) {
    FUZZ_CHECK(text == cut);
  } else {
    const std::string_view utf8 = marked ? cut.substr(kByteOrderMark.size()) : cut;
    const std::vector<std::string_view> expected = utf8Lines(utf8);
    FUZZ_CHECK(lines.size() == expected.size());
    const bool wellFormed = ascii(utf8) || platform::isMultiByteUtf8(utf8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      FUZZ_CHECK(fuzzing::endsOnWholeCharacter(lines[i]));
      if (wellFormed) FUZZ_CHECK(platform::nativePath(lines[i]) == expected[i]);
    }
    if (wellFormed) FUZZ_CHECK(platform::nativePath(text) == utf8);
  }

  // Read from a file in pieces, the text tells and converts as it does whole.
  if (!bytes.empty()) {
    const std::size_t piece = 1 + static_cast<unsigned char>(bytes[0]) % 7;
    platform::Utf8Scan scan;
    platform::Gb18030FromUtf8Stream convert;
    std::string converted;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      scan.add(bytes.substr(at, piece));
      convert.add(bytes.substr(at, piece), converted);
    }
    convert.finish(converted);
    FUZZ_CHECK(scan.multiByteUtf8() == platform::isMultiByteUtf8(bytes));
    FUZZ_CHECK(converted == platform::gb18030FromUtf8(bytes));
  }

  lyrics::LyricsList list;
  lyrics::StatusBar status;
  fuzzing::NoMessages prompter;
  testsupport::ScriptedDialogs dialogs;
  dialogs.desktop = "/";
  lyrics::LyricsImporter importer(list, status, prompter, dialogs);
  importer.importLyricsText(text);
  FUZZ_CHECK(list.lines() == lines);
  FUZZ_CHECK(status.text(lyrics::StatusBar::Characters) ==
             "字:" + lyrics::formatReal(static_cast<double>(text.size()) / 2.0));
  FUZZ_CHECK(status.text(lyrics::StatusBar::Lines) == "行:" + std::to_string(lines.size()));
  FUZZ_CHECK(list.selection() == (lines.empty() ? -1 : 0));

  // The same bytes dropped as a file.
  std::FILE* file = std::fopen(dropPath().c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
  lyrics::LyricsList dropped;
  lyrics::StatusBar droppedStatus;
  lyrics::LyricsImporter dropImporter(dropped, droppedStatus, prompter, dialogs);
  dropImporter.dropLyricsFile(dropPath());
  FUZZ_CHECK(dropped.lines() == lines);
  FUZZ_CHECK(droppedStatus.text(lyrics::StatusBar::Characters) ==
             status.text(lyrics::StatusBar::Characters));
  return 0;
}
