#pragma once

#include <string_view>

namespace lyrics {

// The form of the lyrics file a document came from, which save-as and the file beside the audio
// write again: its encoding and its line ends. The default is GBK with CR LF, the form of every
// new, cleared or re-opened document and of the saved-lyrics library.
struct FileForm {
  // How the file's characters are stored.
  enum class Encoding { Gbk, Utf8, Utf8WithMark };
  // What ends each line of the file.
  enum class LineEnd { CrLf, Lf };

  Encoding encoding = Encoding::Gbk;
  LineEnd lineEnd = LineEnd::CrLf;

  bool operator==(const FileForm&) const = default;

  // The bytes that end a line in this form.
  std::string_view lineBreak() const { return lineEnd == LineEnd::Lf ? "\n" : "\r\n"; }
};

}  // namespace lyrics
