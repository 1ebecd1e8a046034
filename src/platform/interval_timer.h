#pragma once

namespace platform {

// A GUI timer driven by its interval: the same interval keeps its phase, a new one restarts
// it, and an interval of 0 or less stops it.
class IntervalTimer {
 public:
  virtual ~IntervalTimer() = default;
  // Sets the interval in milliseconds (<= 0 stops).
  virtual void setInterval(int milliseconds) = 0;
  // Current interval; 0 when stopped.
  virtual int interval() const = 0;
};

}  // namespace platform
