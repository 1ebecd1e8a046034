#include "lyrics/lyrics_text.h"

#include <algorithm>
#include <stdexcept>

#include "lyrics/text_rules.h"

namespace lyrics {

namespace {
// Bytes scanned between two reports to the caller: a few milliseconds of work.
constexpr std::size_t kReportEvery = std::size_t{4} << 20;
}  // namespace

LyricsText LyricsText::cut(std::string text, const std::function<bool(std::size_t)>& onPiece) {
  return cutAt(std::move(text), FileForm::LineEnd::CrLf, onPiece);
}

LyricsText LyricsText::cutImported(std::string text,
                                   const std::function<bool(std::size_t)>& onPiece) {
  const FileForm::LineEnd lineEnd = importedLineEnd(text);
  return cutAt(std::move(text), lineEnd, onPiece);
}

LyricsText LyricsText::adopt(std::string bytes, std::vector<Span> spans,
                             FileForm::LineEnd lineEnd) {
  if (bytes.size() > kMaxBytes) throw std::length_error("lyrics text beyond 4 GB");
  for (Span& span : spans) {
    span.offset = static_cast<std::uint32_t>(std::min<std::size_t>(span.offset, bytes.size()));
    span.size =
        static_cast<std::uint32_t>(std::min<std::size_t>(span.size, bytes.size() - span.offset));
  }
  LyricsText result;
  result.m_bytes = std::move(bytes);
  result.m_spans = std::move(spans);
  result.m_lineEnd = lineEnd;
  return result;
}

LyricsText LyricsText::cutAt(std::string text, FileForm::LineEnd lineEnd,
                             const std::function<bool(std::size_t)>& onPiece) {
  if (text.size() > kMaxBytes) throw std::length_error("lyrics text beyond 4 GB");
  LyricsText result;
  result.m_lineEnd = lineEnd;
  const bool atLf = lineEnd == FileForm::LineEnd::Lf;
  const std::size_t size = text.size();
  const char* bytes = text.data();
  std::size_t start = 0;
  std::size_t pos = 0;
  std::size_t nextReport = kReportEvery;
  // Every break holds an LF, so their count bounds the lines: the spans never grow, and the
  // unused end of a generous guess is never touched.
  result.m_spans.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  const auto add = [&](std::size_t end) {
    result.m_spans.push_back(
        {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)});
  };
  while (pos < size) {
    const auto byte = static_cast<unsigned char>(bytes[pos]);
    if (byte >= 0x80) {
      // A lead byte takes the next byte with it, whatever it is: a break never starts there.
      pos += pos + 1 < size ? 2 : 1;
    } else if (atLf && byte == '\n') {
      add(pos);
      start = ++pos;
    } else if (!atLf && byte == '\r' && pos + 1 < size && bytes[pos + 1] == '\n') {
      add(pos);
      pos += 2;
      start = pos;
    } else {
      ++pos;
    }
    if (pos >= nextReport) {
      nextReport += kReportEvery;
      if (onPiece && !onPiece(pos)) break;
    }
  }
  // The stretch after the last break is a line only when it holds something.
  if (pos >= size && start < size) add(size);
  result.m_bytes = std::move(text);
  return result;
}

std::string_view LyricsText::line(std::size_t index) const {
  if (index >= m_spans.size()) return {};
  const Span span = m_spans[index];
  return std::string_view(m_bytes).substr(span.offset, span.size);
}

}  // namespace lyrics
