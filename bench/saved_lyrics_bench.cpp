// Times the saved-lyrics library at 10,000 records of 2 KB lyrics each: loading and storing
// the seven files, and one save, which writes all seven files through.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "files/saved_lyrics_store.h"
#include "lyrics_generator.h"
#include "platform/file_io.h"

namespace {

class SilentPrompter : public platform::Prompter {
 public:
  void inform(const std::string&, const std::string&, platform::MessageIcon) override {
    ++failures;
  }
  bool ask(const std::string&, const std::string&, platform::MessageIcon) override { return false; }
  int failures = 0;
};

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

files::SavedLyricsRecord makeRecord(int number, const std::string& lyrics) {
  const std::string n = std::to_string(number);
  // Every tenth singer carries "=" runs, so the escaped form is part of the measurement.
  return {number % 10 == 0 ? "歌手==" + n : "歌手" + n,
          "歌曲" + n,
          "专辑",
          "编辑人",
          "/home/user/音乐/歌曲" + n + ".mp3",
          "2014年3月5日9时7分3秒",
          "[00:00.00]" + n + "\r\n" + lyrics};
}

}  // namespace

int main() {
  constexpr int kRecords = 10000;
  const std::string lyrics = bench::generateGbkLyrics(2048);
  std::string pattern =
      (std::filesystem::temp_directory_path() / "saved-lyrics-bench-XXXXXX").string();
  const std::filesystem::path dir = ::mkdtemp(pattern.data());
  const std::string gbkDir = platform::gbkPath(dir.string());
  SilentPrompter prompter;

  std::vector<files::SavedLyricsRecord> records;
  records.reserve(kRecords);
  for (int i = 0; i < kRecords; ++i) records.push_back(makeRecord(i, lyrics));

  std::vector<double> stores, loads, totals, saves;
  int loaded = 0;
  for (int run = 0; run < 5; ++run) {
    files::SavedLyricsLibrary library;
    library.appendAll(records);
    files::SavedLyricsStore store(library, prompter, gbkDir);
    auto start = std::chrono::steady_clock::now();
    store.storeSavedLyrics();
    stores.push_back(msSince(start));

    files::SavedLyricsLibrary fresh;
    files::SavedLyricsStore reader(fresh, prompter, gbkDir);
    start = std::chrono::steady_clock::now();
    reader.loadSavedLyrics();
    loads.push_back(msSince(start));
    totals.push_back(stores.back() + loads.back());
    loaded = fresh.count();
    if (fresh.records() != records) prompter.failures += 1000;

    start = std::chrono::steady_clock::now();
    reader.appendRecord(makeRecord(kRecords + run, lyrics));
    saves.push_back(msSince(start));
  }
  std::uintmax_t bytes = 0;
  for (int k = 0; k < files::SavedLyricsRecord::kFieldCount; ++k) {
    bytes += std::filesystem::file_size(
        platform::nativePath(gbkDir + "/" + files::SavedLyricsStore::fileName(k)));
  }
  std::filesystem::remove_all(dir);

  std::printf("saved_lyrics_bench: %d records loaded, %.1f MB in seven files, %d failures\n",
              loaded, static_cast<double>(bytes) / (1024.0 * 1024.0), prompter.failures);
  std::printf("saved_lyrics_bench: store median %.1f ms, load median %.1f ms\n", median(stores),
              median(loads));
  std::printf(
      "saved_lyrics_bench: load + store: best %.1f ms, median %.1f ms, worst %.1f ms "
      "(target <= 500 ms)\n",
      *std::min_element(totals.begin(), totals.end()), median(totals),
      *std::max_element(totals.begin(), totals.end()));
  std::printf(
      "saved_lyrics_bench: one save with write-through: best %.1f ms, median %.1f ms, worst "
      "%.1f ms (target <= 100 ms)\n",
      *std::min_element(saves.begin(), saves.end()), median(saves),
      *std::max_element(saves.begin(), saves.end()));
  const bool ok = prompter.failures == 0 && loaded == kRecords && median(totals) <= 500.0 &&
                  median(saves) <= 100.0;
  return ok ? 0 : 1;
}
