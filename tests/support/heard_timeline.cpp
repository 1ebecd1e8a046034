#include "support/heard_timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "support/click_track.h"

namespace testsupport {

namespace {
// The 1 kHz tone stays above its threshold for most of every half period, so a frame with loud
// frames this close on both sides is sounding.
constexpr std::int64_t kReachFrames = 10;
// A shorter silence is no break of the sound.
constexpr double kBreakSeconds = 0.002;
// Between two clicks with no break, what sounded must match the song this closely.
constexpr double kToleranceSeconds = 0.001;
// The same for time-stretched sound (a speed other than 1.0), whose stretching windows move each
// click by up to some 20 ms of the song.
constexpr double kStretchedToleranceSeconds = 0.03;
// A break across which the song moved on by more than this skipped part of it.
constexpr double kSkipSeconds = 0.002;
}  // namespace

HeardTimeline::HeardTimeline(const Recording& recording, const std::vector<double>& songOnsets,
                             std::int64_t fromNs, std::int64_t toNs, double startSeconds,
                             double speed)
    : m_recording(recording), m_startSeconds(startSeconds), m_speed(speed) {
  for (double onset : songOnsets) {
    if (onset >= startSeconds) m_songOnsets.push_back(onset);
  }
  const auto size = static_cast<std::int64_t>(recording.level.size());
  m_fromFrame = std::clamp<std::int64_t>(recording.frameAt(fromNs), 0, size);
  m_toFrame = std::clamp<std::int64_t>(recording.frameAt(toNs), m_fromFrame, size);
  m_soundingBefore.assign(static_cast<std::size_t>(m_toFrame - m_fromFrame + 1), 0);
  if (recording.rate <= 0 || m_toFrame == m_fromFrame) {
    m_problem = "nothing was recorded";
    return;
  }
  if (recording.lostFrames > 0) {
    m_problem = "the recording lost " + std::to_string(recording.lostFrames) + " frames";
    return;
  }
  const auto begin = recording.level.begin() + m_fromFrame;
  const auto end = recording.level.begin() + m_toFrame;
  const float peak = *std::max_element(begin, end);
  if (peak < 0.05f) {
    m_problem = "nothing was heard";
    return;
  }
  // Most frames carry the tone alone; a stretch without a click has no peak far above it.
  std::vector<float> levels(begin, end);
  const auto ninetieth = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() * 9 / 10);
  std::nth_element(levels.begin(), ninetieth, levels.end());
  if (peak < *ninetieth * 3.0f) {
    m_problem = "no click was heard";
    return;
  }
  // The sink's volume scales everything alike, so the thresholds follow the loudest click.
  const float clickThreshold = peak * 0.45f;
  const float toneThreshold = peak * 0.35f * ClickTrack::kToneLevel / ClickTrack::kClickLevel;

  std::vector<std::int64_t> loud;
  for (std::int64_t frame = m_fromFrame; frame < m_toFrame; ++frame) {
    if (recording.level[static_cast<std::size_t>(frame)] > toneThreshold) loud.push_back(frame);
  }
  if (loud.empty()) {
    m_problem = "nothing was heard";
    return;
  }
  m_firstSoundFrame = loud.front();
  const auto breakFrames = static_cast<std::int64_t>(kBreakSeconds * recording.rate);
  std::size_t next = 0;  // the first loud frame at or after `frame`
  std::int64_t silentSince = -1;
  for (std::int64_t frame = m_fromFrame; frame < m_toFrame; ++frame) {
    while (next < loud.size() && loud[next] < frame) ++next;
    const bool before = next > 0 && loud[next - 1] >= frame - kReachFrames;
    const bool here = next < loud.size() && loud[next] == frame;
    const bool after = next < loud.size() && loud[next] <= frame + kReachFrames;
    const bool sounding = here || (before && after);
    const auto index = static_cast<std::size_t>(frame - m_fromFrame);
    m_soundingBefore[index + 1] = m_soundingBefore[index] + (sounding ? 1 : 0);
    if (frame < *m_firstSoundFrame) continue;
    if (!sounding && silentSince < 0) silentSince = frame;
    if (sounding && silentSince >= 0) {
      if (frame - silentSince >= breakFrames) m_breaks.push_back({silentSince, frame});
      silentSince = -1;
    }
  }

  const std::vector<float> window(begin, end);
  for (std::int64_t frame : ClickTrack::onsets(window, clickThreshold, recording.rate / 2)) {
    m_clickFrames.push_back(m_fromFrame + frame);
  }
  // A click onset needs half a second of quiet before it: one that sounds within half a second
  // of a jump's start may be lost in the sound from before the jump. The first click heard is
  // then the next one, as its distance from the start tells.
  const double halfSecond = 0.5;
  if (startSeconds > 0.0 && !m_clickFrames.empty() && m_songOnsets.size() >= 2 &&
      m_songOnsets[0] -
          startSeconds<halfSecond&& static_cast<double>(m_clickFrames[0] - m_fromFrame) /
                       songRate()>
              m_songOnsets[0] -
          startSeconds + halfSecond) {
    m_songOnsets.erase(m_songOnsets.begin());
  }
  if (m_clickFrames.size() > m_songOnsets.size()) {
    m_problem = "more clicks were heard than the song has: another sound was playing";
    return;
  }
  // Between two clicks exactly their distance in the song must have sounded, unless the sound
  // broke off in between; anything else means another sound or a broken recording. The first
  // click may begin softer (the output starting), so the first second is counted back from the
  // second click, and what it lacks is kept apart.
  if (m_clickFrames.size() >= 2) {
    const double sounded =
        static_cast<double>(soundingFrames(*m_firstSoundFrame, m_clickFrames[1])) / songRate();
    m_startShortfall = std::max(0.0, m_songOnsets[1] - sounded);
  }
  for (std::size_t k = 1; k + 1 < m_clickFrames.size(); ++k) {
    const double sounded =
        static_cast<double>(soundingFrames(m_clickFrames[k], m_clickFrames[k + 1])) / songRate();
    const double mismatch = std::abs(sounded - (m_songOnsets[k + 1] - m_songOnsets[k]));
    const bool broken = std::any_of(m_breaks.begin(), m_breaks.end(), [&](const Break& gap) {
      return gap.from > m_clickFrames[k] && gap.to < m_clickFrames[k + 1];
    });
    if (broken) {
      m_breakMismatch = std::max(m_breakMismatch, mismatch);
      if (mismatch > kSkipSeconds) m_skippedSeconds = std::max(m_skippedSeconds, mismatch);
    } else if (mismatch > (m_speed == 1.0 ? kToleranceSeconds : kStretchedToleranceSeconds)) {
      char text[160];
      std::snprintf(text, sizeof text, "click %zu to %zu: %.4f s sounded where the song has %.4f s",
                    k, k + 1, sounded, m_songOnsets[k + 1] - m_songOnsets[k]);
      m_problem = text;
      return;
    }
  }
}

std::int64_t HeardTimeline::soundingFrames(std::int64_t from, std::int64_t to) const {
  const auto clampFrame = [this](std::int64_t frame) {
    return static_cast<std::size_t>(std::clamp(frame, m_fromFrame, m_toFrame) - m_fromFrame);
  };
  return m_soundingBefore[clampFrame(to)] - m_soundingBefore[clampFrame(from)];
}

std::optional<std::int64_t> HeardTimeline::firstSoundNs() const {
  if (!m_firstSoundFrame) return std::nullopt;
  return m_recording.frameNs(*m_firstSoundFrame);
}

std::optional<std::int64_t> HeardTimeline::heardNs(double seconds) const {
  const auto onset = std::lower_bound(m_songOnsets.begin(), m_songOnsets.end(), seconds);
  const auto k = static_cast<std::size_t>(onset - m_songOnsets.begin());
  if (k >= m_clickFrames.size()) return std::nullopt;
  const std::int64_t click = m_clickFrames[k];
  const auto need = static_cast<std::int64_t>(std::llround((*onset - seconds) * songRate()));
  // The frames that sounded before the click only grow as the frame goes back.
  std::int64_t low = m_fromFrame, high = click;
  while (low < high) {
    const std::int64_t middle = low + (high - low + 1) / 2;
    if (soundingFrames(middle, click) >= need) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return m_recording.frameNs(low);
}

std::optional<double> HeardTimeline::positionAt(std::int64_t ns) const {
  if (m_clickFrames.empty()) return std::nullopt;
  const std::int64_t frame = m_recording.frameAt(ns);
  const double rate = songRate();
  const auto after = std::upper_bound(m_clickFrames.begin(), m_clickFrames.end(), frame);
  if (after == m_clickFrames.begin()) {
    // Before the first click: count back from it over what sounded in between.
    const double position =
        m_songOnsets[0] - static_cast<double>(soundingFrames(frame, m_clickFrames[0])) / rate;
    return std::max(m_startSeconds, position);
  }
  const auto k = static_cast<std::size_t>(after - m_clickFrames.begin() - 1);
  const std::int64_t click = m_clickFrames[k];
  const bool nextClick = after != m_clickFrames.end();
  const bool broken = std::any_of(m_breaks.begin(), m_breaks.end(), [&](const Break& gap) {
    return gap.from > click && (!nextClick || gap.to < *after);
  });
  if (k == 0 && nextClick && !broken) {
    return m_songOnsets[1] - static_cast<double>(soundingFrames(frame, *after)) / rate;
  }
  if (m_speed != 1.0 && nextClick && !broken) {
    // Time-stretched sound moves each click by up to a stretching window: the position runs
    // evenly from one heard click to the next.
    const double share = static_cast<double>(soundingFrames(click, frame)) /
                         static_cast<double>(soundingFrames(click, *after));
    return m_songOnsets[k] + share * (m_songOnsets[k + 1] - m_songOnsets[k]);
  }
  const std::int64_t until = nextClick ? *after : m_toFrame;
  std::vector<Break> breaks;
  for (const Break& gap : m_breaks) {
    if (gap.from > click && gap.to < until) breaks.push_back(gap);
  }
  const double forward = m_songOnsets[k] + static_cast<double>(soundingFrames(click, frame)) / rate;
  if (breaks.empty() || frame <= breaks.front().from || !nextClick) return forward;
  if (frame >= breaks.back().to) {
    return m_songOnsets[k + 1] - static_cast<double>(soundingFrames(frame, *after)) / rate;
  }
  // Within a single break that skipped nothing the position holds where the sound stopped.
  // Within one that skipped part of the song, or between two breaks in one second, the
  // recording cannot tell which position the silence stands for.
  if (breaks.size() == 1) {
    const double stopped =
        m_songOnsets[k] + static_cast<double>(soundingFrames(click, breaks[0].from)) / rate;
    const double resumed =
        m_songOnsets[k + 1] - static_cast<double>(soundingFrames(breaks[0].to, *after)) / rate;
    if (std::abs(resumed - stopped) <= kSkipSeconds) return forward;
  }
  return std::nullopt;
}

}  // namespace testsupport
