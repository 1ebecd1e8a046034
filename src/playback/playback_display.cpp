#include "playback/playback_display.h"

#include <algorithm>

#include "playback/playback_texts.h"

namespace playback {

PlaybackDisplay::PlaybackDisplay()
    : m_tagCaption(texts::tagCaptionReset()),
      m_pauseCaption(texts::pauseButtonCaption(PlaybackState::Idle)) {}

void PlaybackDisplay::setTagCaption(std::string caption) {
  if (caption == m_tagCaption) return;
  m_tagCaption = std::move(caption);
  notify(TagCaption);
}

void PlaybackDisplay::showPlaybackState(PlaybackState state) {
  const std::string& caption = texts::pauseButtonCaption(state);
  if (caption == m_pauseCaption) return;
  m_pauseCaption = caption;
  notify(PauseCaption);
}

void PlaybackDisplay::setProgress(int position) {
  // Shown again even when unchanged: the user may have dragged the slider's thumb away.
  m_progress = std::clamp(position, 0, 100);
  notify(Progress);
}

void PlaybackDisplay::notify(Item item) {
  for (const auto& listener : m_listeners) listener(item);
}

}  // namespace playback
