#include "files/saved_lyrics_store.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "files/user_file_writes.h"
#include "lyrics/text_rules.h"
#include "lyrics/write_failure_report.h"
#include "platform/file_io.h"

namespace files {

// Store format. Each file is its field's values in row order, every value followed by
// "======", with no line structure; a reader splits at the leftmost "======" found while
// stepping over double-byte characters whole, and the text ends at the first zero byte.
// Written plainly, a value would not come back as itself when it holds "=" (a "======" run
// splits it; trailing "=" join the separator and shift into the next value), holds a zero
// byte, or ends on a lone lead byte (which swallows the separator's first "="). Exactly those
// values are written escaped: "=!" and then the value with every "=" as "=3D" and every zero
// byte as "=00", and a lone lead byte at the very end as "=" plus its two upper-case hex
// digits. An escaped value has no two "=" in a row and ends on a whole character, so no
// separator is found inside it and the one after it is found where it stands. Every other
// value is written as it is, so a library whose values hold no "=" is byte for byte the plain
// format, and files written that way load unchanged. On reading, only a value that begins
// with "=!" is unescaped; a plain value can never begin so, because it holds no "=" (only a
// value of an older file that began with "=!" would read differently).
namespace {

constexpr std::string_view kEscapeMark = "=!";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Largest store file read; a library of that size is far beyond any real use.
constexpr std::uintmax_t kMaxFileBytes = 1024u * 1024u * 1024u;

// True when the value, followed by a separator, would leave the reader inside a
// double-byte character at the value's end.
bool endsOnLoneLeadByte(std::string_view value) {
  if (value.empty() || static_cast<unsigned char>(value.back()) < 0x80) return false;
  std::size_t pos = 0;
  while (pos < value.size()) pos += static_cast<unsigned char>(value[pos]) >= 0x80 ? 2 : 1;
  return pos > value.size();
}

bool needsEscape(std::string_view value) {
  return value.find('=') != std::string_view::npos || value.find('\0') != std::string_view::npos ||
         endsOnLoneLeadByte(value);
}

void appendHexEscape(std::string& out, unsigned char byte) {
  out += '=';
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
}

void appendEncoded(std::string& out, std::string_view value) {
  if (!needsEscape(value)) {
    out += value;
    return;
  }
  out += kEscapeMark;
  const bool loneLeadAtEnd = endsOnLoneLeadByte(value);
  const std::size_t whole = loneLeadAtEnd ? value.size() - 1 : value.size();
  for (std::size_t pos = 0; pos < whole; ++pos) {
    const char c = value[pos];
    if (c == '=' || c == '\0') {
      appendHexEscape(out, static_cast<unsigned char>(c));
    } else {
      out += c;
    }
  }
  if (loneLeadAtEnd) appendHexEscape(out, static_cast<unsigned char>(value.back()));
}

std::optional<int> hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

SavedLyricsStore::SavedLyricsStore(SavedLyricsLibrary& library, platform::Prompter& prompter,
                                   std::string directory)
    : m_library(library), m_prompter(prompter), m_directory(std::move(directory)) {
  if (!m_directory.empty() && m_directory.back() != '/') m_directory += '/';
}

std::string SavedLyricsStore::fileName(int field) {
  static const std::array<const char*, SavedLyricsRecord::kFieldCount> names = {
      "保存歌手.txt",     "保存歌曲.txt", "保存专辑.txt", "保存编辑人.txt",
      "保存歌曲路径.txt", "保存时间.txt", "保存歌词.txt"};
  if (field < 0 || field >= SavedLyricsRecord::kFieldCount) return {};
  return names[static_cast<std::size_t>(field)];
}

std::string SavedLyricsStore::filePath(int field) const { return m_directory + fileName(field); }

std::string SavedLyricsStore::encodeValue(std::string_view value) {
  std::string out;
  appendEncoded(out, value);
  return out;
}

std::string SavedLyricsStore::decodeValue(std::string_view stored) {
  if (!stored.starts_with(kEscapeMark)) return std::string(stored);
  const std::string_view body = stored.substr(kEscapeMark.size());
  std::string out;
  out.reserve(body.size());
  for (std::size_t pos = 0; pos < body.size(); ++pos) {
    if (body[pos] == '=' && pos + 2 < body.size()) {
      const auto high = hexValue(body[pos + 1]);
      const auto low = hexValue(body[pos + 2]);
      if (high && low) {
        out += static_cast<char>(*high * 16 + *low);
        pos += 2;
        continue;
      }
    }
    out += body[pos];
  }
  return out;
}

std::string SavedLyricsStore::fileText(const std::vector<SavedLyricsRecord>& records, int field) {
  std::size_t total = 0;
  for (const auto& record : records) total += record.field(field).size() + kRecordSeparator.size();
  std::string text;
  text.reserve(total);
  for (const auto& record : records) {
    appendEncoded(text, record.field(field));
    text += kRecordSeparator;
  }
  return text;
}

std::vector<std::string> SavedLyricsStore::fileValues(std::string_view bytes) {
  std::vector<std::string> values =
      lyrics::splitBytes(lyrics::textUntilZero(bytes), kRecordSeparator);
  for (auto& value : values) {
    if (value.starts_with(kEscapeMark)) value = decodeValue(value);
  }
  return values;
}

void SavedLyricsStore::loadSavedLyrics() {
  std::array<std::vector<std::string>, SavedLyricsRecord::kFieldCount> values;
  for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
    const platform::FileBytes file = platform::readFileBytes(filePath(field), kMaxFileBytes);
    if (file.status == platform::ReadStatus::Ok)
      values[static_cast<std::size_t>(field)] = fileValues(file.bytes);
  }
  const std::size_t count = values[SavedLyricsRecord::Singer].size();
  std::vector<SavedLyricsRecord> records(count);
  for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
    auto& column = values[static_cast<std::size_t>(field)];
    // A companion file with fewer values than the singer file leaves the rest empty.
    for (std::size_t row = 0; row < count && row < column.size(); ++row) {
      records[row].field(field) = std::move(column[row]);
    }
  }
  m_library.appendAll(std::move(records));
}

bool SavedLyricsStore::storeSavedLyrics() {
  // The seven files hold one value per record each and are read back side by side: written
  // one by one, a disk that fills up half-way would leave some files a record ahead of the
  // others, and every record after it would load with another record's lyrics. So all seven
  // are written first and only then put in place, or none is.
  std::vector<std::pair<std::string, std::string>> files;
  files.reserve(SavedLyricsRecord::kFieldCount);
  for (int field = 0; field < SavedLyricsRecord::kFieldCount; ++field) {
    files.emplace_back(filePath(field), fileText(m_library.records(), field));
  }
  std::string failed;
  const platform::WriteStatus status = platform::replaceFiles(files, &failed);
  if (status == platform::WriteStatus::Ok) return true;
  lyrics::reportWriteFailure(m_prompter, failed, status);
  return false;
}

bool SavedLyricsStore::appendRecord(SavedLyricsRecord record) {
  m_library.append(std::move(record));
  return storeSavedLyrics();
}

bool SavedLyricsStore::deleteRecord(int row) {
  if (!m_library.deleteRow(row)) return false;
  return storeSavedLyrics();
}

bool SavedLyricsStore::deleteAllRecords() {
  m_library.deleteAll();
  return storeSavedLyrics();
}

}  // namespace files
