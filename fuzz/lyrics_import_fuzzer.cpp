// The import path: a lyrics file's bytes become the document's text (UTF-8 converted to GB18030,
// everything else byte for byte, a broken text behind a mark too) and then list lines and
// counts, on the drop route through a real file. A text is cut at LF when it holds LF but no
// CR LF, at CR LF otherwise. A converted text has exactly the lines of its UTF-8 form, each the
// same characters. Saved in the form it came in, the document gives back the file's bytes
// (with a last line break added when the file had none).

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "files/lyrics_file_texts.h"
#include "fuzz_check.h"
#include "lyrics/lyrics_import.h"
#include "lyrics/text_rules.h"
#include "platform/native_path.h"
#include "platform/utf8_text.h"
#include "support/scripted_dialogs.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file a drop delivers, in memory where the machine has /dev/shm.
const std::string& dropPath() {
  static const fuzzing::ScratchFolder folder("lrc-import-fuzz");
  static const std::string path = folder.path() + "/dropped.lrc";
  return path;
}

// The line break a file's text is cut at: LF when it holds LF and no CR LF.
std::string_view lineBreakOf(std::string_view text) {
  const bool lf =
      text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos;
  return lf ? "\n" : "\r\n";
}

// The pieces between raw line breaks, as a UTF-8 reader sees lines (the last one only when
// it is not empty).
std::vector<std::string_view> utf8Lines(std::string_view text) {
  const std::string_view lineBreak = lineBreakOf(text);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(lineBreak, start)) != std::string_view::npos;
       start = at + lineBreak.size()) {
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
  // The double-byte aware splitter at the break the raw text calls for.
  const std::vector<std::string> lines = lyrics::splitBytes(text, lineBreakOf(text));

  const bool marked = cut.starts_with(kByteOrderMark);
  const std::string_view afterMark = marked ? cut.substr(kByteOrderMark.size()) : cut;
  const bool utf8File = marked ? ascii(afterMark) || platform::isMultiByteUtf8(afterMark)
                               : platform::isMultiByteUtf8(cut);
  if (!utf8File) {
    // Byte for byte, a mark before broken bytes included: nothing becomes U+FFFD.
    FUZZ_CHECK(text == cut);
  } else {
    const std::vector<std::string_view> expected = utf8Lines(afterMark);
    FUZZ_CHECK(lines.size() == expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      FUZZ_CHECK(fuzzing::endsOnWholeCharacter(lines[i]));
      FUZZ_CHECK(platform::nativePath(lines[i]) == expected[i]);
    }
    FUZZ_CHECK(platform::nativePath(text) == afterMark);
  }
  // The whole-text conversion of a save agrees with the code-by-code one of the paths.
  FUZZ_CHECK(platform::utf8FromGb18030(text) == platform::nativePath(text));

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
  FUZZ_CHECK(list.fileForm().lineBreak() == lineBreakOf(text));

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

  // Saved in the form the file came in, the document gives its bytes back.
  const lyrics::FileForm form = dropped.fileForm();
  using Encoding = lyrics::FileForm::Encoding;
  FUZZ_CHECK(form.lineBreak() == lineBreakOf(text));
  FUZZ_CHECK(form.encoding == (!utf8File ? Encoding::Gbk
                               : marked  ? Encoding::Utf8WithMark
                                         : Encoding::Utf8));
  const std::string saved = files::inFileEncoding(files::lrcBody(dropped), form.encoding);
  const std::string withBreak = std::string(cut) + std::string(form.lineBreak());
  if (!dropped.lines().empty()) FUZZ_CHECK(saved == cut || saved == withBreak);
  return 0;
}
