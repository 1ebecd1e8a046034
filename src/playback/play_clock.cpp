#include "playback/play_clock.h"

#include <algorithm>
#include <cmath>

#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"
#include "playback/playback_texts.h"
#include "playback/player_reports.h"

namespace playback {

namespace {

constexpr std::int64_t kNsPerHundredth = 10'000'000;

// Rounded rather than cut: the tag is read up to one tick after it was built.
std::int64_t roundedHundredths(std::int64_t ns) {
  return (ns + kNsPerHundredth / 2) / kNsPerHundredth;
}

}  // namespace

PlayClock::PlayClock(platform::IntervalTimer& tickTimer, lyrics::CurrentTimeTag& currentTag,
                     PlaybackDisplay& display, lyrics::StatusBar& status, PositionSource& positions,
                     const platform::MonotonicClock& clock)
    : m_tickTimer(tickTimer),
      m_currentTag(currentTag),
      m_display(display),
      m_status(status),
      m_positions(positions),
      m_clock(clock) {
  m_sinceNs = m_clock.nowNs();
  m_resetAtNs = m_sinceNs;
}

void PlayClock::reset() {
  m_baseNs = 0;
  m_sinceNs = m_clock.nowNs();
  m_resetAtNs = m_sinceNs;
}

void PlayClock::start() {
  if (!m_running) {
    m_running = true;
    m_sinceNs = m_clock.nowNs();
  }
  m_tickTimer.setInterval(kTickMs);
}

void PlayClock::halt() {
  if (m_running) {
    m_baseNs = elapsedNs();
    m_sinceNs = m_clock.nowNs();
    m_running = false;
  }
  m_tickTimer.setInterval(0);
}

void PlayClock::jumpTo(double seconds) {
  retarget(seconds);
  m_resetAtNs = m_sinceNs;
}

void PlayClock::retarget(double seconds) {
  const double bounded =
      std::isfinite(seconds) ? std::clamp(seconds, 0.0, kMaxPositionSeconds) : 0.0;
  m_baseNs = static_cast<std::int64_t>(std::llround(bounded * 1e9));
  m_sinceNs = m_clock.nowNs();
  show();
}

std::int64_t PlayClock::elapsedNs() {
  if (!m_running) return m_baseNs;
  // The position is read before the time it is compared with, so it is never the older one.
  const auto sample = m_positions.heardPosition();
  const std::int64_t now = m_clock.nowNs();
  if (sample && sample->takenAtNs >= m_resetAtNs) {
    m_rate = sample->rate;
    return sample->positionNsAt(now);
  }
  // Where the position went away the time goes on at the pace the song was last heard at.
  const std::int64_t run = now - m_sinceNs;
  return m_baseNs + (m_rate == 1.0 ? run : std::llround(static_cast<double>(run) * m_rate));
}

std::int64_t PlayClock::elapsedHundredths() { return roundedHundredths(elapsedNs()); }

std::string PlayClock::timeTag(std::int64_t hundredths) {
  const std::int64_t seconds = hundredths / 100;
  return "[" + lyrics::twoDigitField(seconds / 60 % 100) + ":" +
         lyrics::twoDigitField(seconds % 60) + "." + lyrics::twoDigitField(hundredths % 100) + "]";
}

std::string PlayClock::currentTag() {
  // The tick rebuilds the tag only every 10 ms; a key press between two ticks gets the time of
  // the press itself.
  if (m_running) tick();
  return m_currentTag.value();
}

std::string PlayClock::tagLessLag(std::int64_t lagNs) {
  if (!m_running) return m_currentTag.value();
  // The tick shows the moment itself and leaves its time and the speed it was heard at.
  tick();
  return timeTag(roundedHundredths(lessLag(m_baseNs, lagNs, m_rate)));
}

std::int64_t PlayClock::lessLag(std::int64_t positionNs, std::int64_t lagNs, double speed) {
  const double songNs = static_cast<double>(lagNs) * (std::isfinite(speed) && speed > 0 ? speed : 1.0);
  return std::max<std::int64_t>(0, positionNs - std::llround(songNs));
}

void PlayClock::tick() {
  if (m_running) {
    // Rebase the stopwatch on every tick, so a position that goes away (the player stopped
    // on its own) leaves the time where it was instead of jumping back.
    m_baseNs = elapsedNs();
    m_sinceNs = m_clock.nowNs();
  }
  show();
}

void PlayClock::show() {
  m_currentTag.set(timeTag(roundedHundredths(m_baseNs)));
  m_display.setTagCaption(texts::tagCaptionPrefix() + m_currentTag.value());
  m_status.setText(lyrics::StatusBar::PlayTime,
                   lyrics::status_texts::playTimeText(m_currentTag.value()));
}

}  // namespace playback
