#include "playback/heard_position.h"

#include <cmath>

#include "playback/player_reports.h"

namespace playback {

void HeardPosition::start(double startSeconds, std::int64_t nowNs) {
  const double start = validPosition(startSeconds).value_or(0.0);
  m_state = State::Held;
  m_sample = PositionSample{start, nowNs, false, m_speed};
  m_stillAt = start;
  m_jumpedTo.reset();
}

void HeardPosition::report(double seconds, std::int64_t nowNs) {
  const auto position = validPosition(seconds);
  if (!position || m_state == State::None) return;
  // Far from the target of a jump that is not heard yet: the output still tells of before it.
  if (m_jumpedTo && std::abs(*position - *m_jumpedTo) > kJumpReachSeconds) return;
  switch (m_state) {
    case State::Paused:
      m_stillAt = *position;
      return;
    case State::Held:
      if (!m_stillAt) {
        m_stillAt = *position;
        return;
      }
      if (*position == *m_stillAt) return;
      // Short of a jump's target the target is not heard yet: it holds there.
      if (m_jumpedTo && *position < *m_jumpedTo) return;
      // The output moved: from now on the position is the heard one.
      m_state = State::Following;
      m_jumpedTo.reset();
      break;
    case State::Following:
      break;
    case State::None:
      return;
  }
  const double shown = m_sample.seconds;
  const bool jitter = *position < shown && shown - *position <= kJitterSeconds;
  const bool moved = *position != m_lastReport;
  m_lastReport = *position;
  m_sample = PositionSample{jitter ? shown : *position, nowNs, moved && !jitter, m_speed};
}

void HeardPosition::hold(std::int64_t nowNs) {
  m_sample = PositionSample{m_sample.positionNsAt(nowNs) / 1e9, nowNs, false, m_speed};
}

void HeardPosition::outputStopped(std::int64_t nowNs) {
  if (m_state != State::Following) return;
  // It stopped at some moment since the last report; nothing later is known to be heard.
  m_sample = PositionSample{m_sample.seconds, nowNs, false, m_speed};
  m_state = State::Held;
  // When the output comes back it has to move on from where it stopped.
  m_stillAt = m_lastReport;
}

void HeardPosition::pause(std::int64_t nowNs) {
  if (m_state == State::None || m_state == State::Paused) return;
  if (m_state == State::Following) m_stillAt = m_lastReport;
  hold(nowNs);
  m_state = State::Paused;
}

void HeardPosition::resume() {
  if (m_state == State::Paused) m_state = State::Held;
}

void HeardPosition::jump(double seconds, std::int64_t nowNs) {
  if (m_state == State::None) return;
  const double target = validPosition(seconds).value_or(0.0);
  if (m_state != State::Paused) m_state = State::Held;
  m_sample = PositionSample{target, nowNs, false, m_speed};
  m_stillAt = target;
  m_lastReport = target;
  m_jumpedTo = target;
}

void HeardPosition::clear() {
  m_state = State::None;
  m_jumpedTo.reset();
  m_stillAt.reset();
  m_lastReport = 0.0;
}

std::optional<PositionSample> HeardPosition::sample() const {
  if (m_state == State::None) return std::nullopt;
  return m_sample;
}

}  // namespace playback
