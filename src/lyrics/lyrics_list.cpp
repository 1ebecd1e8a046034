#include "lyrics/lyrics_list.h"

#include <algorithm>
#include <stdexcept>

namespace lyrics {

namespace {

// Room of each block that takes changed lines: big enough for a command that rewrites every
// line of a long song, and never reallocated, so the lines already in it stay where they are.
constexpr std::size_t kEditBlockBytes = std::size_t{1} << 20;
// Dropped bytes are kept until they outweigh the live ones by this much.
constexpr std::uint64_t kWasteAllowance = std::uint64_t{1} << 20;
constexpr std::uint64_t kAddressRange = std::uint64_t{UINT32_MAX} + 1;

}  // namespace

std::string_view LyricsList::line(int index) const {
  if (index < 0 || index >= count()) return {};
  return view(m_lines[static_cast<std::size_t>(index)]);
}

std::string_view LyricsList::view(Span span) const {
  if (span.size == 0) return {};
  // Blocks are few (the imported text, then a block per megabyte of changed lines).
  auto block =
      std::upper_bound(m_blocks.begin(), m_blocks.end(), span.offset,
                       [](std::uint32_t offset, const Block& b) { return offset < b.base; });
  if (block == m_blocks.begin()) return {};
  --block;
  return std::string_view(*block->bytes).substr(span.offset - block->base, span.size);
}

std::uint64_t LyricsList::end() const {
  if (m_blocks.empty()) return 0;
  const Block& last = m_blocks.back();
  return std::uint64_t{last.base} + (last.growing ? last.bytes->capacity() : last.bytes->size());
}

LyricsList::Span LyricsList::store(std::string_view text) {
  if (!m_blocks.empty()) {
    Block& last = m_blocks.back();
    if (last.growing && last.bytes->capacity() - last.bytes->size() >= text.size()) {
      const auto offset = static_cast<std::uint32_t>(last.base + last.bytes->size());
      last.bytes->append(text);
      m_storedBytes += text.size();
      return {offset, static_cast<std::uint32_t>(text.size())};
    }
  }
  const std::size_t room = std::max(kEditBlockBytes, text.size());
  if (end() + room > kAddressRange) compact();
  if (end() + room > kAddressRange) throw std::length_error("lyrics list beyond 4 GB");
  Block block;
  block.base = static_cast<std::uint32_t>(end());
  block.growing = true;
  block.bytes = std::make_shared<std::string>();
  block.bytes->reserve(room);
  block.bytes->append(text);
  m_storedBytes += text.size();
  m_blocks.push_back(std::move(block));
  return {m_blocks.back().base, static_cast<std::uint32_t>(text.size())};
}

std::uint32_t LyricsList::addBlock(std::string bytes) {
  if (end() + bytes.size() > kAddressRange) compact();
  if (end() + bytes.size() > kAddressRange) throw std::length_error("lyrics list beyond 4 GB");
  Block block;
  block.base = static_cast<std::uint32_t>(end());
  block.bytes = std::make_shared<std::string>(std::move(bytes));
  m_storedBytes += block.bytes->size();
  m_blocks.push_back(std::move(block));
  return m_blocks.back().base;
}

void LyricsList::resetStorage() {
  m_lines = {};
  m_blocks = {};
  m_liveBytes = 0;
  m_storedBytes = 0;
}

void LyricsList::compactIfWasteful() {
  if (m_storedBytes - m_liveBytes > m_liveBytes + kWasteAllowance) compact();
}

void LyricsList::compact() {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(m_liveBytes));
  // Each span is read before it is moved, and the old blocks stay until every line is copied.
  for (Span& span : m_lines) {
    const std::string_view text = view(span);
    span.offset = static_cast<std::uint32_t>(bytes.size());
    bytes.append(text);
  }
  m_blocks.clear();
  m_storedBytes = 0;
  addBlock(std::move(bytes));
}

bool LyricsList::setLine(int index, std::string text) {
  if (index < 0 || index >= count()) return false;
  Span& current = m_lines[static_cast<std::size_t>(index)];
  if (view(current) == text) return false;
  if (m_recorder) {
    LyricsEdit edit(LyricsEdit::Kind::Text, index);
    edit.m_text = view(current);
    record(std::move(edit));
  }
  const Span old = m_lines[static_cast<std::size_t>(index)];
  const Span stored = store(text);
  m_lines[static_cast<std::size_t>(index)] = stored;
  m_liveBytes = m_liveBytes - old.size + stored.size;
  compactIfWasteful();
  if (m_observer) m_observer->lineChanged(index);
  return true;
}

int LyricsList::insertLine(int index, std::string text) {
  if (index < 0 || index > count()) return -1;
  if (m_recorder) record(LyricsEdit(LyricsEdit::Kind::Inserted, index));
  const Span stored = store(text);
  m_lines.insert(m_lines.begin() + index, stored);
  m_liveBytes += stored.size;
  if (m_observer) m_observer->linesInserted(index, 1);
  if (m_selection >= index) changeSelection(m_selection + 1);
  return index;
}

int LyricsList::appendLine(std::string text) { return insertLine(count(), std::move(text)); }

void LyricsList::appendLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  if (m_recorder) record(LyricsEdit(LyricsEdit::Kind::Appended, count()));
  std::string bytes;
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size();
  bytes.reserve(total);
  for (const auto& line : lines) bytes += line;
  const int first = count();
  const std::uint32_t base = addBlock(std::move(bytes));
  std::uint32_t offset = base;
  m_lines.reserve(m_lines.size() + lines.size());
  for (const auto& line : lines) {
    m_lines.push_back({offset, static_cast<std::uint32_t>(line.size())});
    offset += static_cast<std::uint32_t>(line.size());
  }
  m_liveBytes += total;
  if (m_observer) m_observer->linesInserted(first, static_cast<int>(lines.size()));
}

void LyricsList::appendText(LyricsText text) {
  if (text.lineCount() == 0) return;
  if (m_recorder) record(LyricsEdit(LyricsEdit::Kind::Appended, count()));
  const int first = count();
  const int added = static_cast<int>(text.lineCount());
  std::vector<Span> spans = text.releaseSpans();
  const std::uint32_t base = addBlock(text.releaseBytes());
  for (Span& span : spans) {
    span.offset += base;
    m_liveBytes += span.size;
  }
  if (m_lines.empty()) {
    m_lines = std::move(spans);
  } else {
    m_lines.insert(m_lines.end(), spans.begin(), spans.end());
  }
  if (m_observer) m_observer->linesInserted(first, added);
}

bool LyricsList::deleteLine(int index) {
  if (index < 0 || index >= count()) return false;
  if (m_recorder) {
    LyricsEdit edit(LyricsEdit::Kind::Removed, index);
    edit.m_text = line(index);
    record(std::move(edit));
  }
  m_liveBytes -= m_lines[static_cast<std::size_t>(index)].size;
  m_lines.erase(m_lines.begin() + index);
  compactIfWasteful();
  if (m_observer) m_observer->lineRemoved(index);
  if (m_selection == index) {
    changeSelection(-1);
  } else if (m_selection > index) {
    changeSelection(m_selection - 1);
  }
  return true;
}

void LyricsList::clear() {
  setFileForm({});
  replaceAll(LyricsText());
}

void LyricsList::replaceAll(const std::vector<std::string>& lines) {
  // Built before the old lines go: `lines` may have been read out of this very list.
  std::string bytes;
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size();
  bytes.reserve(total);
  std::vector<Span> spans;
  spans.reserve(lines.size());
  for (const auto& line : lines) {
    spans.push_back(
        {static_cast<std::uint32_t>(bytes.size()), static_cast<std::uint32_t>(line.size())});
    bytes += line;
  }
  if (m_recorder && !sameLines(lines)) recordWhole();
  resetStorage();
  m_lines = std::move(spans);
  m_liveBytes = total;
  if (!m_lines.empty()) addBlock(std::move(bytes));
  const bool hadSelection = m_selection != -1;
  m_selection = -1;
  if (m_observer) {
    m_observer->linesReset();
    if (hadSelection) m_observer->selectionChanged(-1);
  }
}

void LyricsList::replaceAll(LyricsText text) {
  if (m_recorder && (count() != 0 || text.lineCount() != 0)) recordWhole();
  resetStorage();
  m_lines = text.releaseSpans();
  for (const Span& span : m_lines) m_liveBytes += span.size;
  if (!m_lines.empty()) addBlock(text.releaseBytes());
  const bool hadSelection = m_selection != -1;
  m_selection = -1;
  if (m_observer) {
    m_observer->linesReset();
    if (hadSelection) m_observer->selectionChanged(-1);
  }
}

void LyricsList::setSelection(int index) { changeSelection(std::clamp(index, -1, count() - 1)); }

std::vector<std::string> LyricsList::lines() const {
  std::vector<std::string> copy;
  copy.reserve(m_lines.size());
  for (const Span& span : m_lines) copy.emplace_back(view(span));
  return copy;
}

LyricsSnapshot LyricsList::snapshot(std::vector<Span> reuse) const {
  LyricsSnapshot snapshot;
  reuse.assign(m_lines.begin(), m_lines.end());
  snapshot.m_spans = std::move(reuse);
  snapshot.m_pieces.reserve(m_blocks.size());
  for (const Block& block : m_blocks) {
    // Only the last block is ever appended to; the snapshot takes its own copy of it.
    const bool changing = block.growing && &block == &m_blocks.back();
    snapshot.m_pieces.push_back(
        {block.base, changing ? std::make_shared<const std::string>(*block.bytes) : block.bytes});
  }
  return snapshot;
}

void LyricsList::changeSelection(int selected) {
  if (selected == m_selection) return;
  m_selection = selected;
  if (m_observer) m_observer->selectionChanged(selected);
  if (m_recorder) m_recorder->selectionMoved();
}

std::string joinLyricsText(const LyricsList& list) { return joinLyricsText(list, "\r\n"); }

std::string joinLyricsText(const LyricsList& list, std::string_view lineBreak) {
  std::size_t total = 0;
  for (int i = 0; i < list.count(); ++i) total += list.line(i).size() + lineBreak.size();
  std::string text;
  text.reserve(total);
  for (int i = 0; i < list.count(); ++i) {
    text += list.line(i);
    text += lineBreak;
  }
  return text;
}

}  // namespace lyrics
