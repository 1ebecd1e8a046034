#include "heard_clock_jumps.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "bench_files.h"
#include "editor_drive.h"
#include "support/heard_timeline.h"

namespace bench {

namespace {

// Judges every jump of one driven run; false when some could not be judged.
bool judgeJumps(const testsupport::Recording& recording, const std::vector<double>& onsets,
                const EditorRun& run, JumpFigures& figures) {
  bool allJudged = true;
  std::optional<testsupport::HeardTimeline> before;
  before.emplace(recording, onsets, run.clickNs,
                 run.jumps.empty() ? run.endNs : run.jumps.front().receivedNs);
  for (std::size_t j = 0; j < run.jumps.size(); ++j) {
    const EditorRun::Jump& jump = run.jumps[j];
    const std::int64_t from = jump.receivedNs;
    const std::int64_t to = j + 1 < run.jumps.size() ? run.jumps[j + 1].receivedNs : run.endNs;
    ++figures.jumps;
    // The jump shows its target at once, in the same event as the key.
    const auto first = std::find_if(run.shown.begin(), run.shown.end(),
                                    [&](const auto& shown) { return shown.first >= from; });
    if (first == run.shown.end()) {
      std::printf("  jump %zu (%s): nothing was shown after it\n", j + 1, jump.key.c_str());
      ++figures.unjudged;
      allJudged = false;
      continue;
    }
    const double target = first->second / 100.0;
    std::optional<double> expected;
    if (jump.key == "F6") {
      // F6 on the line after the last one stamped: that stamp less the run-up.
      long last = -1;
      for (const auto& [ns, hundredths] : run.stamps) {
        if (ns < jump.pressedNs) last = hundredths;
      }
      if (last >= 0) expected = std::max(0.0, last / 100.0 - 2.0);
    } else if (before) {
      if (const auto at = before->positionAt(from)) {
        expected = std::max(0.0, *at + (jump.key == "ctrl+Right" ? 3.0 : -3.0));
      }
    }
    if (expected) {
      figures.targetErrorMs = std::max(figures.targetErrorMs, std::abs(target - *expected) * 1e3);
    }
    before.emplace(recording, onsets, from, to, target);
    const testsupport::HeardTimeline& heard = *before;
    const auto soundNs = heard.problem().empty() ? heard.heardNs(target) : std::nullopt;
    if (!soundNs) {
      std::printf("  jump %zu (%s to %.2f s): unusable recording: %s\n", j + 1, jump.key.c_str(),
                  target, heard.problem().empty() ? "no click heard" : heard.problem().c_str());
      ++figures.unjudged;
      allJudged = false;
      before.reset();
      continue;
    }
    const double toSoundMs = (*soundNs - jump.pressedNs) / 1e6;
    figures.toSoundMs.push_back(toSoundMs);
    (jump.key == "F6" ? figures.toSoundF6Ms : figures.toSoundSeekMs).push_back(toSoundMs);
    double below = 0, ahead = 0, worstStamp = 0;
    for (const auto& [ns, hundredths] : run.shown) {
      if (ns < from || ns >= to) continue;
      below = std::max(below, target - hundredths / 100.0);
      if (const auto at = heard.positionAt(ns)) ahead = std::max(ahead, hundredths / 100.0 - *at);
    }
    int stamps = 0;
    for (const auto& [ns, hundredths] : run.stamps) {
      if (ns < from || ns >= to) continue;
      const auto at = heard.positionAt(ns);
      if (!at) continue;
      const double error = std::abs(hundredths / 100.0 - *at) * 1e3;
      figures.stampErrorsMs.push_back(error);
      worstStamp = std::max(worstStamp, error);
      ++stamps;
    }
    figures.belowTargetMs = std::max(figures.belowTargetMs, below * 1e3);
    figures.aheadMs = std::max(figures.aheadMs, ahead * 1e3);
    std::printf(
        "  jump %zu (%-10s to %5.2f s): heard %5.1f ms after the press (%.1f ms after the "
        "window got it); shown below the target %.0f ms, ahead of the sound %.1f ms; %d "
        "stamps, worst %.1f ms\n",
        j + 1, jump.key.c_str(), target, toSoundMs, (*soundNs - jump.receivedNs) / 1e6, below * 1e3,
        ahead * 1e3, stamps, worstStamp);
  }
  return allJudged;
}

void printJumpFigures(const JumpFigures& figures) {
  const auto& e = figures.stampErrorsMs;
  std::printf(
      "\njump to sound (key press to the target heard) over %zu jumps: median %.0f ms, p90 %.0f "
      "ms, max %.0f ms; F6 p90 %.0f ms, Ctrl+Left/Right p90 %.0f ms\n",
      figures.toSoundMs.size(), percentile(figures.toSoundMs, 0.5),
      percentile(figures.toSoundMs, 0.9), percentile(figures.toSoundMs, 1.0),
      percentile(figures.toSoundF6Ms, 0.9), percentile(figures.toSoundSeekMs, 0.9));
  std::printf(
      "after a jump the shown time went below its target by up to %.0f ms and ahead of the sound "
      "by up to %.1f ms; targets off their key's position by up to %.0f ms\n",
      figures.belowTargetMs, figures.aheadMs, figures.targetErrorMs);
  std::printf(
      "stamps after jumps against the heard position over %zu stamps: median %.1f ms, p99 %.1f "
      "ms, max %.1f ms\n",
      e.size(), percentile(e, 0.5), percentile(e, 0.99), percentile(e, 1.0));
  std::printf(
      "(targets: jump to sound <= 100 ms p90; nothing below the target or ahead of the sound; "
      "stamps median <= 5 ms, p99 <= 10 ms)\n");
  if (figures.failed > 0 || figures.unjudged > 0) {
    std::printf("%d of %d runs failed or had jumps that could not be judged (%d of %d jumps)\n",
                figures.failed, figures.runs, figures.unjudged, figures.jumps);
  }
}

}  // namespace

void runEditorJumps(const testsupport::MonitorRecorder& recorder, const std::string& song,
                    const std::vector<double>& onsets, int runs, bool alternate,
                    JumpFigures figures[2]) {
  if (std::getenv("DISPLAY") == nullptr) return;
  const auto dir = std::filesystem::temp_directory_path() / "lrc-bench-editor";
  const std::string lyrics = writeLyrics(dir);
  if (lyrics.empty()) return;
  std::printf("\nthe editor through jumps: F5 and Ctrl+Right, F6, Ctrl+Left in turn; %d runs%s\n",
              runs, alternate ? ", every other one with the waveform window open" : "");
  for (int run = 0; run < runs; ++run) {
    const bool waveform = alternate && run % 2 == 1;
    JumpFigures& into = figures[waveform ? 1 : 0];
    const EditorRun driven =
        driveEditor(LRC_EDITOR_BINARY, lyrics, song, dir.string(), 2000u + run, true, waveform);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::printf("run %d%s (load %s):\n", run + 1, waveform ? ", waveform window open" : "",
                loadAverage().c_str());
    ++into.runs;
    if (!driven.problem.empty()) {
      std::printf("  %s\n", driven.problem.c_str());
      ++into.failed;
      continue;
    }
    if (!judgeJumps(recorder.recording(), onsets, driven, into)) ++into.failed;
  }
  for (int open = 0; open < (alternate ? 2 : 1); ++open) {
    if (alternate) {
      std::printf("\n-- jump runs with the waveform window %s:", open ? "open" : "closed");
    }
    printJumpFigures(figures[open]);
  }
}

}  // namespace bench
