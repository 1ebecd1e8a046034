#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lyrics {

// A byte-exact INI profile in the "[section]" / "key=value" layout. A line ends at CR LF, at LF
// or at a lone CR, whichever the file uses. Lines that are not touched keep every byte, their
// line breaks included, and added lines take the break most lines of the file have; section and key
// names match without regard to ASCII case and surrounding blanks, as the classic profile
// functions do.
class IniFile {
 public:
  // Parses the bytes of a profile (an empty text is an empty profile).
  explicit IniFile(std::string_view bytes = {});

  // The value of `key` in `section`: the bytes after "=" up to the line break; nothing when
  // the section or key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Replaces or adds `key`=`value` in `section`, adding the section at the end when missing.
  void setValue(std::string_view section, std::string_view key, std::string_view value);
  // The profile's bytes.
  std::string bytes() const;

 private:
  // Index of the first line of `section`'s body (after its header), or nothing.
  std::optional<std::size_t> sectionBody(std::string_view section) const;
  // Index of the line holding `key` within the section body starting at `body`, or nothing.
  std::optional<std::size_t> keyLine(std::size_t body, std::string_view key) const;

  // Each line with its own line break (the last one may have none).
  std::vector<std::string> m_lines;
  // The line break that added lines get.
  std::string m_lineBreak = "\r\n";
};

}  // namespace lyrics
