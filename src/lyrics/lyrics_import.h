#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/lyrics_file_reader.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/dialogs.h"
#include "platform/prompter.h"
#include "platform/utf8_text.h"

namespace lyrics {

// Brings a lyrics text into the list: from the open dialog, a drop on the list, or the command
// line. Nothing in the text is interpreted; tags and header lines stay as they are.
class LyricsImporter {
 public:
  // Largest lyrics file read; bigger files are refused with a message instead of being loaded.
  static constexpr std::uintmax_t kMaxFileBytes = LyricsFileReader::kMaxFileBytes;

  // `reader` reads the files of the dialog and of drops (null: at once, on this thread); it
  // must not hand over a file once the importer is gone.
  LyricsImporter(LyricsList& list, StatusBar& status, platform::Prompter& prompter,
                 platform::Dialogs& dialogs, LyricsFileReader* reader = nullptr);

  // Replaces the list with the lines of `text` (GB18030 bytes, cut at LF or CR LF as a file's
  // text is), writes "行:" and "字:" and selects line 0. The document takes the form of a GBK
  // file with the text's line ends.
  void importLyricsText(std::string_view text);
  // The same for a text already cut into lines, whose bytes the list takes over; the document
  // takes the form of a file in `encoding` with the text's line ends.
  void importLyricsText(LyricsText text, FileForm::Encoding encoding = FileForm::Encoding::Gbk);
  // Lets the user choose a .txt or .lrc file and imports it; cancel or an empty file changes
  // nothing.
  void openLyricsFile();
  // Imports a file dropped on the list; refuses names not ending in "txt" or "lrc" and files
  // that cannot be read (an empty file still empties the list).
  void dropLyricsFile(const std::string& path);
  // Appends the lines of the file named by the command-line arguments (joined with nothing).
  void loadCommandLineFile(const std::vector<std::string>& arguments);

 private:
  void reportTooLarge();

  LyricsList& m_list;
  StatusBar& m_status;
  platform::Prompter& m_prompter;
  platform::Dialogs& m_dialogs;
  LyricsFileReader m_directReader;
  LyricsFileReader& m_reader;
};

// The mark that opens a UTF-8 text.
inline constexpr std::string_view kUtf8ByteOrderMark = platform::Utf8Scan::kByteOrderMark;

// The encoding a lyrics file's text (its bytes up to the first zero byte) is read in: UTF-8 with
// the mark when it begins with the UTF-8 byte-order mark and is well-formed UTF-8 after it, UTF-8
// when it is well-formed UTF-8 holding at least one character beyond ASCII, GBK otherwise.
FileForm::Encoding lyricsFileEncoding(std::string_view text);
// lyricsFileEncoding of a text scanned piece by piece as a file is read: the one rule both the
// whole-file import and the piecewise reader apply.
FileForm::Encoding lyricsFileEncoding(const platform::Utf8Scan& scan);

// The lyrics text of a file's bytes: they end at the first zero byte. A UTF-8 text
// (lyricsFileEncoding) is converted to GB18030, the mark dropped; every other text, a broken
// one behind a mark included, is taken byte for byte.
std::string lyricsFileText(std::string bytes);

// The file path named by the command-line arguments after the program name: all of them joined
// with nothing between them; empty when there are none.
std::string commandLinePath(const std::vector<std::string>& arguments);

}  // namespace lyrics
