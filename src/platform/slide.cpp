#include "platform/slide.h"

#include <utility>

namespace platform {

Slide::Slide(IntervalTimer& timer, Rule rule, std::function<void(int)> move,
             std::function<void()> arrived)
    : m_timer(timer), m_rule(rule), m_move(std::move(move)), m_arrived(std::move(arrived)) {}

void Slide::start(int from) {
  m_position = from;
  m_timer.setInterval(kTickMs);
}

void Slide::tick() {
  if (!running()) return;
  m_position += m_rule.step;
  // The designed stop values are met exactly only from the designed start positions; a slide
  // that starts half-way (the opposite one was cut short) stops on the first position past it.
  const bool arrived =
      m_rule.step > 0 ? m_position >= m_rule.threshold : m_position <= m_rule.threshold;
  if (!arrived) {
    m_move(m_position);
    return;
  }
  m_position = m_rule.end;
  m_move(m_position);
  m_timer.setInterval(0);
  if (m_arrived) m_arrived();
}

}  // namespace platform
