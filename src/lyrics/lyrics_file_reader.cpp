#include "lyrics/lyrics_file_reader.h"

#include "lyrics/lyrics_import.h"

namespace lyrics {

void LyricsFileReader::read(const std::string& path, std::function<void(LyricsFile)> done) {
  done(loadLyricsFile(path, kMaxFileBytes));
}

LyricsFile loadLyricsFile(const std::string& path, std::uintmax_t maxBytes,
                          const std::function<bool(double)>& onProgress) {
  LyricsFile result;
  bool cancelled = false;
  const auto report = [&](double share) {
    cancelled = onProgress && !onProgress(share);
    return !cancelled;
  };
  // Reading and cutting take about as long as each other: half the bar each.
  platform::FileBytes file =
      platform::readFileBytes(path, maxBytes, [&](std::size_t done, std::size_t total) {
        return report(0.5 * static_cast<double>(done) / static_cast<double>(total));
      });
  result.status = file.status;
  if (!cancelled && file.status == platform::ReadStatus::Ok) {
    std::string text = lyricsFileText(std::move(file.bytes));
    const double size = static_cast<double>(text.size());
    result.text = LyricsText::cut(std::move(text), [&](std::size_t scanned) {
      return report(0.5 + 0.5 * static_cast<double>(scanned) / size);
    });
  }
  if (cancelled) return LyricsFile{platform::ReadStatus::Ok, LyricsText(), true};
  return result;
}

}  // namespace lyrics
