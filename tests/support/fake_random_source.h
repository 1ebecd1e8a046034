#pragma once

#include <deque>
#include <utility>
#include <vector>

#include "platform/random_source.h"

namespace testsupport {

// Hands out scripted numbers (the low end when it runs dry) and records the ranges asked for.
class FakeRandomSource : public platform::RandomSource {
 public:
  int between(int low, int high) override {
    ranges.emplace_back(low, high);
    if (numbers.empty()) return low;
    const int number = numbers.front();
    numbers.pop_front();
    return number;
  }
  std::deque<int> numbers;
  std::vector<std::pair<int, int>> ranges;
};

}  // namespace testsupport
