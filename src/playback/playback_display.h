#pragma once

#include <functional>
#include <string>
#include <vector>

#include "playback/playback_state.h"

namespace playback {

// The playback controls' visible state: the tag button's caption, the pause button's caption
// (derived from the controller's playback state) and the progress slider. Texts are GBK bytes;
// the views follow.
class PlaybackDisplay {
 public:
  // What changed, for listeners.
  enum Item { TagCaption, PauseCaption, Progress };

  PlaybackDisplay();
  // Caption of the tag button ("加入标签..." with the time).
  const std::string& tagCaption() const { return m_tagCaption; }
  // Caption of the pause button: "继续" where the state offers to continue, else "暂停".
  const std::string& pauseCaption() const { return m_pauseCaption; }
  // Position of the progress slider, 0..100.
  int progress() const { return m_progress; }

  // Sets the tag button's caption.
  void setTagCaption(std::string caption);
  // Shows `state` on the pause button; the controller calls this at each change of state.
  void showPlaybackState(PlaybackState state);
  // Moves the slider, clamped to 0..100; the view is told even when the value is unchanged.
  void setProgress(int position);
  // Adds a listener called with the item after each change.
  void addListener(std::function<void(Item)> listener) {
    m_listeners.push_back(std::move(listener));
  }

 private:
  void notify(Item item);

  std::string m_tagCaption;
  std::string m_pauseCaption;
  int m_progress = 0;
  std::vector<std::function<void(Item)>> m_listeners;
};

}  // namespace playback
