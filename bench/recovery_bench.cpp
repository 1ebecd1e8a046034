// The recovery file of a 60 MB document of about 1.8 million lines: how long the window's
// thread is held by each write (the snapshot handed to the writer thread), with the previous
// snapshot's storage back for reuse and while the writer is still busy with the previous one;
// how long the writer thread takes per file; and how long bringing the document back in a new
// run holds the window's thread, whose reading and decoding run on the recovery's thread.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "bench_files.h"
#include "files/document_recovery.h"
#include "lyrics_generator.h"
#include "platform/prompter.h"

namespace {

using Clock = std::chrono::steady_clock;

// Restores of the 60 MB document, each in a run of its own.
constexpr int kRestores = 5;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-44s median %.2f ms  p99 %.2f ms  max %.2f ms  (%zu runs)\n", what,
              samples[samples.size() / 2], samples[samples.size() * 99 / 100], samples.back(),
              samples.size());
}

struct SilentPrompter : platform::Prompter {
  void inform(const std::string&, const std::string&, platform::MessageIcon) override {}
  bool ask(const std::string&, const std::string&, platform::MessageIcon) override { return false; }
};

// A run of the editor's document with its recovery.
struct Run {
  explicit Run(const std::string& folder, platform::Prompter& prompter)
      : history(list, sides()), recovery(folder, list, sides(), history, prompter) {}
  lyrics::UndoHistory::Sides sides() {
    return {[this] { return texts; }, [this](const std::vector<std::string>& t) { texts = t; }};
  }
  std::vector<std::string> texts{"singer", "song", "album", "editor", "1", "", "", "", "", ""};
  lyrics::LyricsList list;
  lyrics::UndoHistory history;
  files::DocumentRecovery recovery;
};

}  // namespace

int main() {
  std::string folder = (std::filesystem::temp_directory_path() / "recovery-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) return 1;
  std::printf("load average before: %s\n", bench::loadAverage().c_str());
  SilentPrompter prompter;
  {
    Run run(folder, prompter);
    run.list.replaceAll(lyrics::LyricsText::cutImported(bench::generateGbkLyrics(60u << 20)));
    run.list.setSelection(0);
    run.history.settle();
    std::printf("document: %d lines\n", run.list.count());

    std::vector<double> reused;
    std::vector<double> busy;
    std::vector<double> written;
    for (int i = 0; i < 20; ++i) {
      const int line = (i * 90001) % run.list.count();
      run.list.setLine(line, "[01:02.03]" + std::string(run.list.line(line)));
      run.recovery.noteChange();
      auto start = Clock::now();
      run.recovery.write();
      reused.push_back(ms(Clock::now() - start));
      // A change while the writer is still at the previous file: no storage to reuse.
      run.list.setLine(line, "[01:02.04]" + std::string(run.list.line(line)));
      run.recovery.noteChange();
      start = Clock::now();
      run.recovery.write();
      busy.push_back(ms(Clock::now() - start));
      start = Clock::now();
      run.recovery.writeAndWait();
      written.push_back(ms(Clock::now() - start));
    }
    report("window thread per write, storage reused", reused);
    report("window thread per write, writer busy", busy);
    report("writer thread: the last state on the disk", written);
    std::printf(
        "file: %.1f MB\n",
        static_cast<double>(std::filesystem::file_size(run.recovery.ownFile())) / (1 << 20));
    std::printf("a change to it waits %d ms for its write (a song's: %d ms)\n",
                run.recovery.writeDelayMs(), files::DocumentRecovery::kWriteDelayMs);
  }
  // Each run brings back the document the run before it left, then ends with it as its own.
  // The window's thread is held twice: while restore() starts the read and while the document
  // goes in; in between the recovery's thread reads and decodes the file.
  std::vector<double> starts;
  std::vector<double> puts;
  std::vector<double> holds;
  std::vector<double> reads;
  int restoredLines = 0;
  for (int i = 0; i < kRestores; ++i) {
    Run next(folder, prompter);
    std::mutex mutex;
    std::condition_variable wake;
    bool ready = false;
    next.recovery.setRestoreReady([&] {
      std::lock_guard lock(mutex);
      ready = true;
      wake.notify_all();
    });
    const auto start = Clock::now();
    next.recovery.restore();
    const auto returned = Clock::now();
    {
      std::unique_lock lock(mutex);
      if (!wake.wait_for(lock, std::chrono::minutes(1), [&] { return ready; })) {
        std::fprintf(stderr, "waited a minute for the recovery file to be read\n");
        return 1;
      }
    }
    const auto read = Clock::now();
    next.recovery.finishRestore();
    const auto done = Clock::now();
    next.recovery.setRestoreReady({});
    starts.push_back(ms(returned - start));
    puts.push_back(ms(done - read));
    holds.push_back(std::max(starts.back(), puts.back()));
    reads.push_back(ms(read - start));
    restoredLines = next.list.count();
    next.recovery.writeAndWait();
  }
  report("window thread: restore() starting the read", starts);
  report("window thread: putting the document in", puts);
  report("window thread: longest hold per restore", holds);
  report("recovery thread: request to document read", reads);
  std::printf("restored: %d lines\n", restoredLines);
  std::printf("load average after: %s\n", bench::loadAverage().c_str());
  std::filesystem::remove_all(folder);
  return 0;
}
