#pragma once

// The heard-clock benchmark's jump runs: fresh editors driven through F5 and Ctrl+Right, F6 and
// Ctrl+Left in turn, each jump judged against what the sink's monitor recorded.

#include <string>
#include <vector>

#include "support/monitor_recorder.h"

namespace bench {

// What the jump runs measured.
struct JumpFigures {
  std::vector<double> toSoundMs, toSoundF6Ms, toSoundSeekMs, stampErrorsMs;
  double belowTargetMs = 0, aheadMs = 0, targetErrorMs = 0;
  int jumps = 0, unjudged = 0, runs = 0, failed = 0;
};

// Drives `runs` fresh editors through jumps and judges every jump; with `alternate`, every other
// run with the waveform window open, judged into figures[1].
void runEditorJumps(const testsupport::MonitorRecorder& recorder, const std::string& song,
                    const std::vector<double>& onsets, int runs, bool alternate,
                    JumpFigures figures[2]);

}  // namespace bench
