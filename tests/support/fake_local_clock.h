#pragma once

#include "platform/local_clock.h"

namespace testsupport {

// A local clock that shows whatever moment the test sets.
class FakeLocalClock : public platform::LocalClock {
 public:
  platform::LocalDateTime now() const override { return moment; }
  platform::LocalDateTime moment{2014, 3, 5, 9, 7, 3};
};

}  // namespace testsupport
