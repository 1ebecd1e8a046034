#include "lyrics/lyrics_file_reader.h"

#include <algorithm>

#include "lyrics/lyrics_import.h"

namespace lyrics {

void LyricsFileReader::read(const std::string& path, std::function<void(LyricsFile)> done) {
  done(loadLyricsFile(path, kMaxFileBytes));
}

namespace {

// The part of `piece` that belongs to the text, which ends at the file's first zero byte;
// `ended` turns true at that byte.
std::string_view textPart(std::string_view piece, bool& ended) {
  const std::size_t zero = piece.find('\0');
  if (zero == std::string_view::npos) return piece;
  ended = true;
  return piece.substr(0, zero);
}

}  // namespace

LyricsFile loadLyricsFile(const std::string& path, std::uintmax_t maxBytes,
                          const std::function<bool(double)>& onProgress, std::size_t pieceBytes) {
  LyricsFile result;
  bool cancelled = false;
  const auto report = [&](double share) {
    cancelled = onProgress && !onProgress(share);
    return !cancelled;
  };
  const auto shareOf = [](std::size_t done, std::size_t total) {
    return static_cast<double>(done) / static_cast<double>(std::max<std::size_t>(total, 1));
  };

  // Whether the text is to be converted from UTF-8 (lyricsFileEncoding).
  bool ended = false;
  platform::Utf8Scan scan;
  result.status = platform::readFilePieces(
      path, maxBytes, pieceBytes, [&](std::string_view piece, std::size_t done, std::size_t total) {
        // GBK text is seldom well-formed UTF-8 beyond its first characters.
        if (!scan.add(textPart(piece, ended)) || ended) return false;
        return report(0.25 * shareOf(done, total));
      });
  if (cancelled) return LyricsFile{platform::ReadStatus::Ok, LyricsText(), true};
  if (result.status != platform::ReadStatus::Ok) return result;

  std::string text;
  const FileForm::Encoding encoding = lyricsFileEncoding(scan);
  const bool converting = encoding != FileForm::Encoding::Gbk;
  const bool marked = encoding == FileForm::Encoding::Utf8WithMark;
  result.encoding = encoding;
  // Telling and converting UTF-8 take three quarters of the bar; reading GBK takes as long as
  // cutting it.
  const double cutFrom = converting ? 0.75 : 0.5;
  if (converting) {
    platform::Gb18030FromUtf8Stream convert;
    std::size_t markLeft = marked ? kUtf8ByteOrderMark.size() : 0;
    ended = false;
    result.status =
        platform::readFilePieces(path, maxBytes, pieceBytes,
                                 [&](std::string_view piece, std::size_t done, std::size_t total) {
                                   // About as many bytes as the file: Chinese takes three in UTF-8
                                   // and two in GB18030.
                                   if (text.capacity() < total) text.reserve(total);
                                   const std::size_t skipped = std::min(piece.size(), markLeft);
                                   piece.remove_prefix(skipped);
                                   markLeft -= skipped;
                                   convert.add(textPart(piece, ended), text);
                                   return !ended && report(0.25 + 0.5 * shareOf(done, total));
                                 });
    convert.finish(text);
  } else {
    platform::FileBytes file = platform::readFileBytes(
        path, maxBytes,
        [&](std::size_t done, std::size_t total) { return report(0.5 * shareOf(done, total)); });
    result.status = file.status;
    text = lyricsFileText(std::move(file.bytes));
  }
  if (!cancelled && result.status == platform::ReadStatus::Ok) {
    const double size = static_cast<double>(std::max<std::size_t>(text.size(), 1));
    result.text = LyricsText::cutImported(std::move(text), [&](std::size_t scanned) {
      return report(cutFrom + (1.0 - cutFrom) * static_cast<double>(scanned) / size);
    });
  }
  if (cancelled) return LyricsFile{platform::ReadStatus::Ok, LyricsText(), true};
  return result;
}

}  // namespace lyrics
