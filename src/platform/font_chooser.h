#pragma once

#include <optional>
#include <string>

#include "platform/rgb_colour.h"

namespace platform {

// The font dialog: a face, its size and effects, and a text colour.
class FontChooser {
 public:
  // What the dialog shows and returns.
  struct Values {
    // The face's name as GB18030 bytes; empty for the application's default face.
    std::string name;
    // In points; 0 for the application's default size.
    int size = 0;
    // On the 100..900 scale, 400 regular and 700 bold.
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    RgbColour colour;
    bool operator==(const Values&) const = default;
  };

  virtual ~FontChooser() = default;
  // Shows the dialog modally with `current`; the values the user confirmed, nothing when the
  // dialog was cancelled.
  virtual std::optional<Values> choose(const Values& current) = 0;
};

}  // namespace platform
