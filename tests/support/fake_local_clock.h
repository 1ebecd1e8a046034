#pragma once

#include "lyrics/local_clock.h"

namespace testsupport {

// A local clock that shows whatever moment the test sets.
class FakeLocalClock : public lyrics::LocalClock {
 public:
  lyrics::LocalDateTime now() const override { return moment; }
  lyrics::LocalDateTime moment{2014, 3, 5, 9, 7, 3};
};

}  // namespace testsupport
