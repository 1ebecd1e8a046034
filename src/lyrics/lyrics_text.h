#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/file_form.h"

namespace lyrics {

// A lyrics text cut into lines without copying them: the text's bytes as they are, CR LF
// breaks included, and for each line where it stands in them. A line costs 8 bytes beside its
// text, where a string of its own would cost 32 or more and an allocation; the lyrics list
// takes both parts over unchanged, so a file of 60 MB is held once.
class LyricsText {
 public:
  // Where one line stands: its first byte and its length.
  struct Span {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
  };

  // Largest text a LyricsText holds: positions are 32-bit.
  static constexpr std::size_t kMaxBytes = UINT32_MAX;

  // An empty text, no lines.
  LyricsText() = default;

  // Cuts `text` (GB18030 bytes, at most kMaxBytes) by the rules of splitLyricsText. `onPiece`,
  // when given, hears the bytes scanned so far now and then and may cancel by returning false,
  // which leaves the lines cut up to there.
  static LyricsText cut(std::string text,
                        const std::function<bool(std::size_t scanned)>& onPiece = {});
  // Cuts the text of a lyrics file: at LF when it holds LF but no CR LF anywhere (a file written
  // on Linux or taken from the web), otherwise at CR LF exactly as cut does. An LF break is
  // found double-byte aware too. `onPiece` as for cut.
  static LyricsText cutImported(std::string text,
                                const std::function<bool(std::size_t scanned)>& onPiece = {});

  // Takes `bytes` (at most kMaxBytes) and the lines' positions in them as they are, for a
  // reader that knows where its lines stand; spans outside the bytes are cut to fit.
  static LyricsText adopt(std::string bytes, std::vector<Span> spans, FileForm::LineEnd lineEnd);

  // Number of lines.
  std::size_t lineCount() const { return m_spans.size(); }
  // Line `index` (0..lineCount-1), without its break.
  std::string_view line(std::size_t index) const;
  // The line end the text was cut at.
  FileForm::LineEnd lineEnd() const { return m_lineEnd; }
  // The whole text, breaks included.
  const std::string& bytes() const { return m_bytes; }
  // Where each line stands in bytes().
  const std::vector<Span>& spans() const { return m_spans; }

  // Takes the parts out, leaving an empty text.
  std::string releaseBytes() { return std::move(m_bytes); }
  std::vector<Span> releaseSpans() { return std::move(m_spans); }

 private:
  static LyricsText cutAt(std::string text, FileForm::LineEnd lineEnd,
                          const std::function<bool(std::size_t scanned)>& onPiece);

  std::string m_bytes;
  std::vector<Span> m_spans;
  FileForm::LineEnd m_lineEnd = FileForm::LineEnd::CrLf;
};

}  // namespace lyrics
