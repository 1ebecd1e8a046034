#pragma once

#include <string>

namespace shell {

// The font given to a control, its fields in the order the controls take them.
struct FontSpec {
  // Rotation of the text in tenths of a degree; the editor never turns text.
  int angle = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  // In points; 0 draws in the application's default size.
  int size = 0;
  // The face's name as GB18030 bytes; empty draws in the application's default face.
  std::string name;
  bool operator==(const FontSpec&) const = default;
};

}  // namespace shell
