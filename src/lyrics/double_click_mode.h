#pragma once

#include <functional>
#include <vector>

namespace lyrics {

// What a double-click on a lyric line does: add a tag, delete the line's tag, or nothing.
// At most one of the two flags is on; the menu's check marks follow them.
class DoubleClickMode {
 public:
  // True when a double-click adds the current time tag.
  bool addsTag() const { return m_addsTag; }
  // True when a double-click deletes the line's first tag.
  bool deletesTag() const { return m_deletesTag; }
  // Sets both flags and tells the listeners.
  void set(bool addsTag, bool deletesTag) {
    m_addsTag = addsTag;
    m_deletesTag = deletesTag && !addsTag;
    for (const auto& listener : m_listeners) listener();
  }
  // Adds a listener called after every change (the menu check marks).
  void addListener(std::function<void()> listener) { m_listeners.push_back(std::move(listener)); }

 private:
  bool m_addsTag = true;
  bool m_deletesTag = false;
  std::vector<std::function<void()>> m_listeners;
};

}  // namespace lyrics
