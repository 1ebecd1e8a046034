#pragma once

#include <string>
#include <string_view>

// UTF-8 text of lyrics files: telling it apart from GBK and converting it to and from the
// document's GB18030, whole or piece by piece as a file is read.
namespace platform {

// True when `bytes` is well-formed UTF-8 from end to end and holds at least one character
// beyond ASCII (overlong forms, surrogates and cut-off sequences are not well-formed).
bool isMultiByteUtf8(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 from end to end (plain ASCII and the empty text are).
bool isWellFormedUtf8(std::string_view bytes);

// The GB18030 text of a UTF-8 text, through the same converter as the paths. A byte that is not
// part of well-formed UTF-8 becomes the replacement character U+FFFD, as UTF-8 readers show it.
std::string gb18030FromUtf8(std::string_view utf8);

// The UTF-8 text of a GB18030 text, as a file holds it: every GB18030 character becomes its
// UTF-8 form, a reserved code of gbkPath the byte it stands for, and a byte that is no GB18030
// character stays as it is, so nothing of the text is lost. Whole runs go through the converter
// at once, so a text of many megabytes takes a fraction of a second.
std::string utf8FromGb18030(std::string_view gb18030);

// isMultiByteUtf8 of a text that arrives in pieces, read straight from a file without keeping
// it; a character may be cut between two pieces.
class Utf8Scan {
 public:
  // Scans the next piece; false as soon as the text is known not to be well-formed UTF-8.
  bool add(std::string_view piece);
  // isMultiByteUtf8 of all the pieces together.
  bool multiByteUtf8() const { return wellFormed() && m_multiByte; }
  // isWellFormedUtf8 of all the pieces together.
  bool wellFormed() const { return !m_broken && m_carry.empty(); }
  // True when the text begins with the UTF-8 byte-order mark EF BB BF.
  bool marked() const { return m_head == kByteOrderMark; }

  static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

 private:
  std::string m_head;
  std::string m_carry;
  bool m_broken = false;
  bool m_multiByte = false;
};

// gb18030FromUtf8 of a text that arrives in pieces, appended to `out` as the pieces come, so the
// whole UTF-8 text is never in memory beside its GB18030 form.
class Gb18030FromUtf8Stream {
 public:
  // Converts the next piece; a character cut at its end waits for the rest.
  void add(std::string_view piece, std::string& out);
  // Converts what is left once the text has ended.
  void finish(std::string& out);

 private:
  std::string m_carry;
};

}  // namespace platform
