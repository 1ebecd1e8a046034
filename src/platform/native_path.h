#pragma once

#include <string>
#include <string_view>

// The one conversion of paths between the document's GB18030 text and the file system's bytes
// (UTF-8 by convention, but any bytes). Every path the editor opens, whether it came from the
// command line, a drop, a dialog or a saved entry, goes through this pair, so a name always
// names the same file: gbkPath followed by nativePath gives back the very same bytes.
namespace platform {

// The file system's bytes of a document path. GB18030 characters become UTF-8; the reserved
// codes gbkPath gives to undecodable bytes become those bytes again; any other byte that is no
// GB18030 character is passed on unchanged.
std::string nativePath(std::string_view gbkPath);

// The document text of a file system path. UTF-8 characters become GB18030; each byte that is
// not part of well-formed UTF-8 becomes one of 128 four-byte codes above every Unicode
// character, which no text holds, shows as one replacement character and pairs up like any
// other double-byte text.
std::string gbkPath(std::string_view nativePath);

}  // namespace platform
