#include "playback/key_lag_figures.h"

#include <algorithm>
#include <cmath>

namespace playback {

namespace {

// The `q` quantile of sorted `values`, interpolated between the two nearest ones.
double quantile(const std::vector<double>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

int wholeMs(double seconds) { return static_cast<int>(std::lround(seconds * 1000.0)); }

}  // namespace

KeyLagFigures KeyLagFigures::match(const std::vector<double>& sounds,
                                   std::vector<double> presses) {
  KeyLagFigures figures;
  std::vector<bool> answered(sounds.size(), false);
  std::sort(presses.begin(), presses.end());
  for (const double press : presses) {
    // The last sound heard at or before the press.
    const auto after = std::upper_bound(sounds.begin(), sounds.end(), press);
    // Within the window means up to it, whatever the last bit of the subtraction says.
    if (after == sounds.begin() || press - *(after - 1) > kMatchWindowSeconds + 1e-9) {
      ++figures.stray;
      continue;
    }
    const auto sound = static_cast<std::size_t>(after - sounds.begin() - 1);
    if (answered[sound]) {
      ++figures.repeated;
      continue;
    }
    answered[sound] = true;
    figures.lags.push_back(press - sounds[sound]);
  }
  figures.unanswered = static_cast<int>(std::count(answered.begin(), answered.end(), false));
  return figures;
}

std::optional<int> KeyLagFigures::medianMs() const {
  if (lags.empty()) return std::nullopt;
  std::vector<double> sorted = lags;
  std::sort(sorted.begin(), sorted.end());
  return wholeMs(quantile(sorted, 0.5));
}

std::optional<std::pair<int, int>> KeyLagFigures::middleHalfMs() const {
  if (lags.empty()) return std::nullopt;
  std::vector<double> sorted = lags;
  std::sort(sorted.begin(), sorted.end());
  return std::pair{wholeMs(quantile(sorted, 0.25)), wholeMs(quantile(sorted, 0.75))};
}

}  // namespace playback
