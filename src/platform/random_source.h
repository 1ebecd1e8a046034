#pragma once

#include <chrono>
#include <random>

namespace platform {

// Pseudo-random integers, replaceable in tests.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number from `low` to `high`, both included.
  virtual int between(int low, int high) = 0;
};

// A Mersenne twister seeded from the clock when it is made.
class SystemRandomSource : public RandomSource {
 public:
  SystemRandomSource()
      : m_engine(static_cast<std::mt19937::result_type>(
            std::chrono::system_clock::now().time_since_epoch().count())) {}
  // Uniformly distributed over low..high.
  int between(int low, int high) override {
    return std::uniform_int_distribution<int>(low, high)(m_engine);
  }

 private:
  std::mt19937 m_engine;
};

}  // namespace platform
