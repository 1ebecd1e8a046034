#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lyrics {

// The six texts of the status bar (GBK bytes); the bar's view follows them.
class StatusBar {
 public:
  static constexpr int kPartCount = 6;
  // Part indexes.
  enum Part { PlayTime = 0, Progress = 1, Singer = 2, Song = 3, Lines = 4, Characters = 5 };

  StatusBar();
  // Text of part `part`.
  const std::string& text(int part) const { return m_texts.at(static_cast<std::size_t>(part)); }
  // Sets part `part` and tells the view.
  void setText(int part, std::string text);
  // Adds a listener called with the part index after each change.
  void addListener(std::function<void(int)> listener) { m_listeners.push_back(std::move(listener)); }

 private:
  std::array<std::string, kPartCount> m_texts;
  std::vector<std::function<void(int)>> m_listeners;
};

}  // namespace lyrics
