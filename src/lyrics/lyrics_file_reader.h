#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "lyrics/lyrics_text.h"
#include "platform/file_io.h"

namespace lyrics {

// What reading a lyrics file gave: how the read went, and the file's text cut into lines.
struct LyricsFile {
  platform::ReadStatus status = platform::ReadStatus::Missing;
  LyricsText text;
  // The read was called off; nothing of it is to be used.
  bool cancelled = false;
  // The encoding the file was read in; with text.lineEnd(), the form it is saved in again.
  FileForm::Encoding encoding = FileForm::Encoding::Gbk;
};

// Reads lyrics files for the importer. This one reads at once on the caller's thread; the
// window's reader runs large files on a worker thread and keeps the window responsive.
class LyricsFileReader {
 public:
  // Largest lyrics file read; bigger files are refused with a message instead of being loaded.
  static constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

  virtual ~LyricsFileReader() = default;

  // Reads the file at `path` (GBK) and hands what it gave to `done`, before returning or later
  // on this thread. A read that is called off, or overtaken by the next one, never calls it.
  virtual void read(const std::string& path, std::function<void(LyricsFile)> done);
};

// Reads, decodes and cuts the lyrics file at `path` (GBK): all the work of an import short of
// touching the list, on any thread. The text ends at the first zero byte, UTF-8 becomes GB18030
// (lyricsFileText), and it is cut at LF or CR LF (LyricsText::cutImported). `onProgress` hears the
// share done (0 to 1) now and then and may call the read off by returning false. A UTF-8 file is
// read twice, to tell and then to convert, and never held whole beside its converted text; a GBK
// file shows it is none within its first characters. `pieceBytes` is how much of the file is read
// at a time.
LyricsFile loadLyricsFile(const std::string& path, std::uintmax_t maxBytes,
                          const std::function<bool(double done)>& onProgress = {},
                          std::size_t pieceBytes = std::size_t{1} << 20);

}  // namespace lyrics
