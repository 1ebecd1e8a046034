#pragma once

#include <functional>
#include <string>
#include <vector>

namespace playback {

// The playback controls' visible state: the tag button's caption, the pause button's caption
// (which is the pause state) and the progress slider. Texts are GBK bytes; the views follow.
class PlaybackDisplay {
 public:
  // What changed, for listeners.
  enum Item { TagCaption, PauseCaption, Progress };

  PlaybackDisplay();
  // Caption of the tag button ("加入标签..." with the time).
  const std::string& tagCaption() const { return m_tagCaption; }
  // Caption of the pause button: "暂停" while playing or idle, "继续" while paused.
  const std::string& pauseCaption() const { return m_pauseCaption; }
  // True when the pause button reads "继续".
  bool paused() const;
  // Position of the progress slider, 0..100.
  int progress() const { return m_progress; }

  // Sets the tag button's caption.
  void setTagCaption(std::string caption);
  // Sets the pause button's caption.
  void setPauseCaption(std::string caption);
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
