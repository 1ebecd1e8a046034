#include "files/recovery_file.h"

#include <cstring>
#include <utility>

namespace files {

namespace {

constexpr char kMagic[8] = {'Q', 'H', 'L', 'R', 'C', 'R', 'E', 'C'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kChecksumBytes = 8;
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

void putLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t getLe(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])}
             << (8 * i);
  }
  return value;
}

// A 64-bit checksum against damage (not against forgery), eight bytes at a step: each step is a
// bijection of the running value, so a change of one word always changes the result.
class Checksum {
 public:
  void add(std::string_view bytes) {
    m_length += bytes.size();
    if (m_tailSize != 0) {
      const std::size_t take = std::min(bytes.size(), 8 - m_tailSize);
      std::memcpy(m_tail + m_tailSize, bytes.data(), take);
      m_tailSize += take;
      bytes.remove_prefix(take);
      if (m_tailSize < 8) return;
      mix(word(m_tail));
      m_tailSize = 0;
    }
    while (bytes.size() >= 8) {
      mix(word(bytes.data()));
      bytes.remove_prefix(8);
    }
    std::memcpy(m_tail, bytes.data(), bytes.size());
    m_tailSize = bytes.size();
  }
  std::uint64_t value() const {
    Checksum end = *this;
    std::memset(end.m_tail + end.m_tailSize, 0, 8 - end.m_tailSize);
    end.mix(word(end.m_tail));
    end.mix(m_length);
    return end.m_value;
  }

 private:
  static std::uint64_t word(const char* at) { return getLe(std::string_view(at, 8), 0, 8); }
  void mix(std::uint64_t word) {
    m_value = (m_value ^ word) * 0x9E3779B97F4A7C15ULL;
    m_value ^= m_value >> 32;
  }

  std::uint64_t m_value = 0x6A09E667F3BCC909ULL;
  std::uint64_t m_length = 0;
  char m_tail[8] = {};
  std::size_t m_tailSize = 0;
};

// Collects the file in pieces, passing each on with the checksum kept up to date.
class Writer {
 public:
  explicit Writer(const platform::PieceSink& put) : m_put(put) { m_buffer.reserve(kPieceBytes); }
  std::string& buffer() { return m_buffer; }
  bool flushIfFull() { return m_buffer.size() < kPieceBytes || flush(); }
  bool flush() {
    m_checksum.add(m_buffer);
    const bool ok = m_put(m_buffer);
    m_buffer.clear();
    return ok;
  }
  bool finish() {
    if (!flush()) return false;
    putLe(m_buffer, m_checksum.value(), 8);
    const bool ok = m_put(m_buffer);
    m_buffer.clear();
    return ok;
  }

 private:
  const platform::PieceSink& m_put;
  std::string m_buffer;
  Checksum m_checksum;
};

}  // namespace

bool encodeRecoveryFile(const RecoveryState& state, const platform::PieceSink& put) {
  const lyrics::LyricsSnapshot& lines = state.lines;
  std::uint64_t textBytes = 0;
  for (int i = 0; i < lines.count(); ++i) textBytes += lines.line(i).size();
  std::uint64_t sideBytes = 0;
  for (const std::string& side : state.sides) sideBytes += side.size();
  const std::uint64_t count = static_cast<std::uint64_t>(lines.count());
  const std::uint64_t fileSize = kRecoveryHeadBytes + 4 * state.sides.size() + sideBytes +
                                 4 * count + textBytes + kChecksumBytes;

  Writer out(put);
  std::string& head = out.buffer();
  head.append(kMagic, sizeof kMagic);
  putLe(head, kVersion, 4);
  putLe(head, static_cast<std::uint64_t>(state.form.encoding), 1);
  putLe(head, static_cast<std::uint64_t>(state.form.lineEnd), 1);
  putLe(head, 0, 2);
  putLe(head, count, 4);
  putLe(head, static_cast<std::uint32_t>(state.selection), 4);
  putLe(head, textBytes, 8);
  putLe(head, state.sides.size(), 4);
  putLe(head, sideBytes, 4);
  putLe(head, fileSize, 8);
  for (const std::string& side : state.sides) putLe(out.buffer(), side.size(), 4);
  for (const std::string& side : state.sides) out.buffer() += side;
  for (int i = 0; i < lines.count(); ++i) {
    putLe(out.buffer(), lines.line(i).size(), 4);
    if (!out.flushIfFull()) return false;
  }
  for (int i = 0; i < lines.count(); ++i) {
    out.buffer() += lines.line(i);
    if (!out.flushIfFull()) return false;
  }
  return out.finish();
}

std::string encodeRecoveryFile(const RecoveryState& state) {
  std::string file;
  encodeRecoveryFile(state, [&file](std::string_view piece) {
    file += piece;
    return true;
  });
  return file;
}

void sealRecoveryFile(std::string& bytes) {
  if (bytes.size() < kChecksumBytes) return;
  Checksum checksum;
  checksum.add(std::string_view(bytes).substr(0, bytes.size() - kChecksumBytes));
  std::string sum;
  putLe(sum, checksum.value(), 8);
  bytes.replace(bytes.size() - kChecksumBytes, kChecksumBytes, sum);
}

std::optional<std::uint32_t> recoveryLineCount(std::string_view head) {
  if (head.size() < kRecoveryHeadBytes || head.substr(0, 8) != std::string_view(kMagic, 8) ||
      getLe(head, 8, 4) != kVersion) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(getLe(head, 16, 4));
}

std::optional<RecoveredDocument> decodeRecoveryFile(std::string bytes) {
  const std::optional<std::uint32_t> lineCount = recoveryLineCount(bytes);
  if (!lineCount) return std::nullopt;
  const std::string_view in(bytes);
  const std::uint64_t size = in.size();
  const auto encoding = getLe(in, 12, 1);
  const auto lineEnd = getLe(in, 13, 1);
  const auto selection = static_cast<std::int32_t>(static_cast<std::uint32_t>(getLe(in, 20, 4)));
  const std::uint64_t textBytes = getLe(in, 24, 8);
  const std::uint64_t sideCount = getLe(in, 32, 4);
  const std::uint64_t sideBytes = getLe(in, 36, 4);
  const std::uint64_t count = *lineCount;
  // Every claim is bounded by the file's size before any sum is formed, so none overflows.
  if (encoding > 2 || lineEnd > 1 || getLe(in, 14, 2) != 0 || getLe(in, 40, 8) != size ||
      sideCount > kMaxRecoverySides || count > size / 4 || textBytes > size || sideBytes > size ||
      textBytes > lyrics::LyricsText::kMaxBytes || selection < -1 ||
      selection >= static_cast<std::int64_t>(count) ||
      kRecoveryHeadBytes + 4 * sideCount + sideBytes + 4 * count + textBytes + kChecksumBytes !=
          size) {
    return std::nullopt;
  }
  Checksum checksum;
  checksum.add(in.substr(0, size - kChecksumBytes));
  if (checksum.value() != getLe(in, size - kChecksumBytes, 8)) return std::nullopt;

  RecoveredDocument document;
  std::size_t at = kRecoveryHeadBytes;
  std::size_t sideAt = at + 4 * sideCount;
  std::uint64_t sideSum = 0;
  for (std::uint64_t i = 0; i < sideCount; ++i, at += 4) {
    const std::uint64_t length = getLe(in, at, 4);
    sideSum += length;
    if (sideSum > sideBytes) return std::nullopt;
    document.sides.emplace_back(in.substr(sideAt, length));
    sideAt += length;
  }
  if (sideSum != sideBytes) return std::nullopt;
  at = sideAt;
  std::vector<lyrics::LyricsText::Span> spans;
  spans.reserve(count);
  std::uint64_t offset = 0;
  for (std::uint64_t i = 0; i < count; ++i, at += 4) {
    const std::uint64_t length = getLe(in, at, 4);
    if (length > textBytes - offset) return std::nullopt;
    spans.push_back({static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)});
    offset += length;
  }
  if (offset != textBytes) return std::nullopt;
  // The text is the file's tail before the checksum: it becomes the lines' bytes in place.
  bytes.resize(size - kChecksumBytes);
  bytes.erase(0, at);
  document.lines = lyrics::LyricsText::adopt(std::move(bytes), std::move(spans),
                                             static_cast<lyrics::FileForm::LineEnd>(lineEnd));
  document.selection = selection;
  document.form.encoding = static_cast<lyrics::FileForm::Encoding>(encoding);
  document.form.lineEnd = static_cast<lyrics::FileForm::LineEnd>(lineEnd);
  return document;
}

}  // namespace files
