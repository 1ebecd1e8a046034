#include "editor_drive.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include <Qt>

#include "platform/monotonic_clock.h"

extern char** environ;

namespace bench {

namespace {

using platform::SteadyClock;
namespace fs = std::filesystem;

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env = extraEnv;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0) return -1;
  return pid;
}

// Runs xdotool with `args` and waits for it; false when it failed.
bool xdotool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  const pid_t pid = spawn(args, {});
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

// The id of the first visible window whose title starts with `title`, waiting up to `ms`; ""
// when none showed.
std::string windowTitled(const std::string& title, int ms) {
  const std::string command = "xdotool search --onlyvisible --name '^" + title + "' 2>/dev/null";
  for (int waited = 0; waited < ms; waited += 50) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
      char buffer[256];
      while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
      ::pclose(pipe);
    }
    if (const std::size_t end = output.find('\n'); end != std::string::npos && end > 0) {
      return output.substr(0, end);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {};
}

void sleepUntil(std::int64_t ns) {
  const std::int64_t left = ns - SteadyClock::now();
  if (left > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(left));
}

// "[mm:ss.xx]" somewhere in `text`, in hundredths; -1 when there is none.
long tagHundredths(const std::string& text, std::size_t from = 0) {
  const std::size_t at = text.find('[', from);
  if (at == std::string::npos || text.size() < at + 10 || text[at + 3] != ':' ||
      text[at + 6] != '.' || text[at + 9] != ']') {
    return -1;
  }
  try {
    return std::stol(text.substr(at + 1, 2)) * 6000 + std::stol(text.substr(at + 4, 2)) * 100 +
           std::stol(text.substr(at + 7, 2));
  } catch (...) {
    return -1;
  }
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Waits up to `ms` for the process to end; kills it when it does not.
bool reap(pid_t pid, int ms) {
  int status = 0;
  for (int waited = 0; waited < ms; waited += 20) {
    if (::waitpid(pid, &status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return false;
}

}  // namespace

EditorRun driveEditor(const std::string& editor, const std::string& lyrics, const std::string& song,
                      const std::string& workDir, unsigned seed, bool jumps, bool waveform) {
  EditorRun run;
  const fs::path dir(workDir);
  const fs::path report = dir / "report.txt";
  const fs::path log = dir / "shown.log";
  fs::remove(report);
  fs::remove(log);
  const pid_t pid = spawn({editor, lyrics}, {
                                                "LRC_EDITOR_SELFTEST_REPORT=" + report.string(),
                                                "LRC_EDITOR_SELFTEST_DROP=" + song,
                                                "LRC_EDITOR_SELFTEST_LOG=" + log.string(),
                                                "XDG_DATA_HOME=" + (dir / "data").string(),
                                                "XDG_CONFIG_HOME=" + (dir / "config").string(),
                                                "XDG_CACHE_HOME=" + (dir / "cache").string(),
                                            });
  if (pid <= 0) {
    run.problem = "the editor could not be started";
    return run;
  }
  const std::int64_t deadline = SteadyClock::now() + 20'000'000'000;
  while (!fs::exists(report) && SteadyClock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  run.shownNs = SteadyClock::now();
  std::string window;
  std::string x, y;
  std::istringstream head(readFile(report));
  for (std::string line; std::getline(head, line);) {
    if (line.rfind("window_id=", 0) == 0) window = line.substr(10);
    if (line.rfind("play_button=", 0) == 0) std::istringstream(line.substr(12)) >> x >> y;
  }
  if (window.empty() || x.empty()) {
    run.problem = "waited 20 s for the editor's report with its window and 播放 button";
    reap(pid, 0);
    return run;
  }

  // F8 opens the waveform window, which takes the focus; it goes below the 播放 button, which it
  // would cover where the display put it, and has a moment to decode the song and draw it.
  std::string keysTo = window;
  if (waveform) {
    if (!xdotool({"windowfocus", "--sync", window}) || !xdotool({"key", "F8"}) ||
        (keysTo = windowTitled("波形", 10'000)).empty() ||
        !xdotool({"windowmove", keysTo, "0", std::to_string(std::stoi(y) + 40)})) {
      run.problem = "F8 did not show the waveform window within 10 s";
      reap(pid, 0);
      return run;
    }
    run.shownNs = SteadyClock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }

  // "At once" is any moment of the first few tenths of a second, while the editor may still be
  // preparing its player.
  std::mt19937 random(seed);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  sleepUntil(run.shownNs + between(0, 600) * 1'000'000LL);
  // xdotool takes about a tenth of a second to start on a busy machine, so when a press happened
  // is taken from the display server's own time of it, which the editor logs.
  const bool clicked = xdotool({"mousemove", x, y, "click", "1"});
  const std::int64_t clicked_by = SteadyClock::now();
  if (!clicked || !xdotool({"windowfocus", "--sync", keysTo})) {
    run.problem = "xdotool could not click 播放 or focus the window";
  }
  // The first F5 comes early, where a clock that runs ahead of the sound would show.
  std::vector<std::string> keys;
  const auto press = [&](const std::string& key) {
    if (run.problem.empty() && !xdotool({"key", key}))
      run.problem = "xdotool could not press " + key;
    keys.push_back(key);
  };
  const std::int64_t f5Until = clicked_by + (jumps ? 2'000'000'000LL : 5'000'000'000LL);
  std::int64_t at = clicked_by + between(0, 250) * 1'000'000LL;
  for (; run.problem.empty() && at < f5Until; at += between(250, 700) * 1'000'000LL) {
    sleepUntil(at);
    press("F5");
  }
  if (jumps) {
    const char* jumpKeys[] = {"ctrl+Right", "F6", "ctrl+Left"};
    std::int64_t jumpedAt = 0;
    for (int jump = 0; jump < 6 && run.problem.empty(); ++jump) {
      for (int stamp = 0; stamp < 2; ++stamp) {
        sleepUntil(at);
        press("F5");
        at = SteadyClock::now() + between(250, 600) * 1'000'000LL;
      }
      // A jump is judged by the clicks heard after it: the next one waits until one has been.
      at = std::max<std::int64_t>(at, jumpedAt + 1'200'000'000);
      sleepUntil(at);
      jumpedAt = SteadyClock::now();
      press(jumpKeys[jump % 3]);
      at = SteadyClock::now() + between(150, 500) * 1'000'000LL;
    }
    for (int stamp = 0; stamp < 2; ++stamp) {
      sleepUntil(at);
      press("F5");
      at = SteadyClock::now() + between(250, 600) * 1'000'000LL;
    }
    sleepUntil(at + 500'000'000LL);
  } else {
    sleepUntil(clicked_by + 5'500'000'000LL);
  }
  run.endNs = SteadyClock::now();
  // 退出 (Ctrl+Y) is a key of the main window only.
  if (keysTo != window) xdotool({"windowfocus", "--sync", window});
  xdotool({"key", "ctrl+y"});
  if (!reap(pid, 10'000) && run.problem.empty())
    run.problem = "waited 10 s for the editor to close";

  std::istringstream lines(readFile(log));
  // Every press: when the window received it, and the display server's time of it (whole
  // milliseconds on a clock of the server's own).
  std::vector<std::pair<std::int64_t, long long>> presses;
  std::vector<long> stamped;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string kind;
    long long ns = 0;
    words >> kind >> ns;
    if (kind == "press") {
      long long serverMs = 0;
      int key = 0;
      words >> serverMs >> key;
      // Ctrl pressed before Left or Right is a press of its own that raises nothing; F8 opened
      // the waveform window before the click.
      if (key == Qt::Key_Control || key == Qt::Key_F8) continue;
      // A shortcut's key is offered to each widget up the focus chain: one press, many lines.
      if (presses.empty() || presses.back().second != serverMs) presses.emplace_back(ns, serverMs);
    } else if (kind == "shown" && ns <= run.endNs) {
      const long hundredths = tagHundredths(line);
      if (hundredths >= 0) run.shown.emplace_back(ns, hundredths);
    } else if (kind == "line") {
      // A line whose text begins with a time tag was stamped; the lyrics had none.
      int row = 0;
      words >> row;
      const std::size_t text = line.find(' ', line.find(' ', line.find(' ') + 1) + 1);
      const long hundredths = tagHundredths(line, text);
      if (hundredths < 0 || line.compare(text + 1, 1, "[") != 0) continue;
      stamped.push_back(hundredths);
    }
  }
  // The click, then the keys, then Ctrl+Y.
  const auto f5Presses = static_cast<std::size_t>(std::count(keys.begin(), keys.end(), "F5"));
  if (run.problem.empty() && (presses.size() < keys.size() + 1 || stamped.size() != f5Presses)) {
    run.problem = "the editor saw " + std::to_string(presses.size()) + " presses and stamped " +
                  std::to_string(stamped.size()) + " lines for one click and " +
                  std::to_string(keys.size()) + " keys, " + std::to_string(f5Presses) +
                  " of them F5";
  }
  if (!run.problem.empty()) return run;
  // The server's clock is put on the steady clock by the press that came through fastest: the
  // F5 presses come while the editor idles, so one of them reaches it within a millisecond or
  // so. A press that waited for a busy window then counts from when the server took it.
  std::int64_t offsetNs = presses[0].first - presses[0].second * 1'000'000;
  for (const auto& [arrivedNs, serverMs] : presses) {
    offsetNs = std::min<std::int64_t>(offsetNs, arrivedNs - serverMs * 1'000'000);
  }
  std::vector<std::int64_t> pressedNs;
  for (const auto& [arrivedNs, serverMs] : presses) {
    pressedNs.push_back(serverMs * 1'000'000 + offsetNs);
    run.deliveryNs.push_back(arrivedNs - pressedNs.back());
  }
  run.clickNs = pressedNs[0];
  std::size_t stamp = 0;
  for (std::size_t key = 0; key < keys.size(); ++key) {
    if (keys[key] == "F5") {
      run.stamps.emplace_back(pressedNs[key + 1], stamped[stamp++]);
    } else {
      run.jumps.push_back({keys[key], pressedNs[key + 1], presses[key + 1].first});
    }
  }
  return run;
}

std::string writeLyrics(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  const std::string lyrics = (dir / "lines.lrc").string();
  std::string text;
  for (int line = 1; line <= 30; ++line) text += "line " + std::to_string(line) + "\r\n";
  std::FILE* file = std::fopen(lyrics.c_str(), "wb");
  if (file == nullptr) return {};
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return lyrics;
}

}  // namespace bench
