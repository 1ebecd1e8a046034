#include "playback/playback_jumps.h"

#include <algorithm>

#include "lyrics/tag_corrections.h"

namespace playback {

PlaybackJumps::PlaybackJumps(const lyrics::LyricsList& list, PlaybackController& controller)
    : m_list(list), m_controller(controller) {}

void PlaybackJumps::playFromSelectedLine() {
  m_controller.playFrom(lineStartSeconds(m_list, m_list.selection()));
}

void PlaybackJumps::seekBackward() { m_controller.seekBy(-kStepSeconds); }

void PlaybackJumps::seekForward() { m_controller.seekBy(kStepSeconds); }

double PlaybackJumps::lineStartSeconds(const lyrics::LyricsList& list, int index) {
  for (int line = std::min(index, list.count() - 1); line >= 0; --line) {
    if (const auto tag = lyrics::leadingTimeTag(list.line(line))) {
      return std::max(0.0, static_cast<double>(tag->first) / 100.0 - kRunUpSeconds);
    }
  }
  return 0.0;
}

}  // namespace playback
