#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lyrics {

// The four header boxes under the lyrics list: singer, song title, album and editor (GBK
// bytes). They feed the "[ar:" "[ti:" "[al:" "[by:" tags and the saved-lyrics records. The
// user may edit them at any time, so the box views write back into this model.
class HeaderFields {
 public:
  // Field indexes.
  enum Field { Singer = 0, Song = 1, Album = 2, Editor = 3 };
  static constexpr int kFieldCount = 4;

  // Text of `field`.
  const std::string& text(Field field) const { return m_texts.at(field); }
  // Sets `field`; tells the listener when the text changed.
  void setText(Field field, std::string text) {
    auto& slot = m_texts.at(field);
    if (slot == text) return;
    slot = std::move(text);
    for (const auto& listener : m_listeners) {
      if (listener) listener(field);
    }
  }
  // Adds a listener called with the field after each change, whoever made it; the number it
  // returns takes it off again.
  std::size_t addListener(std::function<void(Field)> listener) {
    m_listeners.push_back(std::move(listener));
    return m_listeners.size() - 1;
  }
  // Takes off the listener that addListener numbered `id`, for a listener that goes first.
  void removeListener(std::size_t id) { m_listeners.at(id) = nullptr; }

 private:
  std::array<std::string, kFieldCount> m_texts;
  std::vector<std::function<void(Field)>> m_listeners;
};

}  // namespace lyrics
