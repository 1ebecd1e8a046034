#pragma once

#include <string>

#include "platform/local_clock.h"

namespace files {

// When a record was saved, as the library shows it: the date "Y年M月D日" without leading
// zeros, then the time down to its last non-zero part ("H时M分S秒", "H时M分", "H时" or nothing).
std::string saveTimeText(const platform::LocalDateTime& moment);

}  // namespace files
