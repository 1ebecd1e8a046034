#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/monitor_recorder.h"

namespace testsupport {

// What was heard of one playback of a click track: when the sound began, and which song
// position was heard at any moment, from the recorded clicks and the tone under them.
//
// Between two clicks the heard position is counted forward from the earlier click over the
// frames that sounded. Where the sound broke off in between (a pause, a stall, an underrun that
// skipped some of the song) the position after the break is counted back from the later
// click instead, and while the sound is off it holds where the sound stopped.
class HeardTimeline {
 public:
  // `recording` holds the playback that ran from `fromNs` to `toNs` at `speed` times the song's
  // pace; `songOnsets` are the song positions of the track's clicks (ClickTrack::decodedOnsets).
  // A playback that started at (or jumped at `fromNs` to) `startSeconds` hears only the clicks
  // from there on.
  HeardTimeline(const Recording& recording, const std::vector<double>& songOnsets,
                std::int64_t fromNs, std::int64_t toNs, double startSeconds = 0.0,
                double speed = 1.0);

  // Empty when the recording can be trusted; otherwise what is wrong with it.
  const std::string& problem() const { return m_problem; }
  // When the playback's first sound was played; nothing when none was.
  std::optional<std::int64_t> firstSoundNs() const;
  // When the song position `seconds` was heard: counted back from the first click heard at or
  // after it over the frames that sounded. Nothing when no such click was heard.
  std::optional<std::int64_t> heardNs(double seconds) const;
  // The song position heard at `ns`, in seconds: the start before the first sound. Nothing where the
  // recording cannot tell (within a break that skipped part of the song, or between two breaks
  // of the sound within one second).
  std::optional<double> positionAt(std::int64_t ns) const;
  // How many clicks were heard.
  std::size_t clicksHeard() const { return m_clickFrames.size(); }
  // The largest difference, in seconds, between what sounded across a break and the song's
  // distance between the clicks around it: the uncertainty of positions next to a break.
  double breakMismatch() const { return m_breakMismatch; }
  // The most of the song, in seconds, that one second with a break of the sound lost (an
  // underrun drops what comes too late); 0 when no break skipped anything.
  double skippedSeconds() const { return m_skippedSeconds; }
  // How much of the song before its second click was not heard, in seconds: the output may
  // begin softer than the song or skip its first frames.
  double startShortfall() const { return m_startShortfall; }

 private:
  struct Break {
    std::int64_t from, to;  // frames, [from, to)
  };

  std::int64_t soundingFrames(std::int64_t from, std::int64_t to) const;
  // Recorded frames per second of the song.
  double songRate() const { return m_recording.rate / m_speed; }

  const Recording& m_recording;
  std::vector<double> m_songOnsets;
  double m_startSeconds = 0.0;
  double m_speed = 1.0;
  std::int64_t m_fromFrame = 0;
  std::int64_t m_toFrame = 0;
  std::optional<std::int64_t> m_firstSoundFrame;
  std::vector<std::int64_t> m_clickFrames;
  std::vector<Break> m_breaks;
  // m_soundingBefore[i]: sounding frames in [m_fromFrame, m_fromFrame + i).
  std::vector<std::int64_t> m_soundingBefore;
  double m_breakMismatch = 0.0;
  double m_startShortfall = 0.0;
  double m_skippedSeconds = 0.0;
  std::string m_problem;
};

}  // namespace testsupport
