#pragma once

#include <optional>
#include <vector>

namespace playback {

// What the presses of one key-lag measurement tell: each press is matched to the last sound
// heard before it, and the first press within kMatchWindowSeconds of a sound counts.
struct KeyLagFigures {
  // How long after its sound a press may come and still answer it.
  static constexpr double kMatchWindowSeconds = 0.6;
  // Fewer counted presses than this tell too little to store.
  static constexpr int kFewestCounted = 8;

  // The lag of every counted press, in seconds, in the order of the presses.
  std::vector<double> lags;
  // Presses that answered no sound: before the first, or too long after the last one heard.
  int stray = 0;
  // Further presses after a sound that had been answered already.
  int repeated = 0;
  // Sounds that no press answered.
  int unanswered = 0;

  // Matches `presses` to `sounds`, both heard positions in seconds on one playback, the sounds
  // in order.
  static KeyLagFigures match(const std::vector<double>& sounds, std::vector<double> presses);

  // How many presses counted.
  int counted() const { return static_cast<int>(lags.size()); }
  // True when enough presses counted for the median to be stored.
  bool enough() const { return counted() >= kFewestCounted; }
  // The median lag in whole milliseconds; nothing without a counted press.
  std::optional<int> medianMs() const;
  // The first and third quartile in whole milliseconds (the middle half lies between them);
  // nothing without a counted press.
  std::optional<std::pair<int, int>> middleHalfMs() const;
};

}  // namespace playback
