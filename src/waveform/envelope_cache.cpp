#include "waveform/envelope_cache.h"

#include <filesystem>
#include <system_error>

#include "platform/file_io.h"
#include "platform/native_path.h"

namespace waveform {

namespace {

constexpr std::string_view kMagic = "QHLRC-PEAKS\n";
constexpr std::uint32_t kVersion = 1;
// Ten hours of sound; a longer count is damage, not a song.
constexpr std::uint64_t kMaxPeaks = std::uint64_t{Envelope::kBucketsPerSecond} * 36000;
constexpr std::uint64_t kMaxPath = 65536;

std::uint64_t fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

void put(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

// Reads the fields of a cache file in order; every read past the end fails.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
  bool take(std::string_view expected) {
    if (m_bytes.substr(m_at, expected.size()) != expected) return false;
    m_at += expected.size();
    return true;
  }
  std::optional<std::uint64_t> number() {
    if (m_bytes.size() - m_at < 8) return std::nullopt;
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
      value |= std::uint64_t{static_cast<unsigned char>(m_bytes[m_at + i])} << (8 * i);
    }
    m_at += 8;
    return value;
  }
  std::optional<std::string_view> bytes(std::uint64_t count) {
    if (m_bytes.size() - m_at < count) return std::nullopt;
    const std::string_view piece = m_bytes.substr(m_at, count);
    m_at += count;
    return piece;
  }
  std::size_t at() const { return m_at; }
  bool atEnd() const { return m_at == m_bytes.size(); }

 private:
  std::string_view m_bytes;
  std::size_t m_at = 0;
};

}  // namespace

std::optional<SongKey> SongKey::of(const std::string& nativePath) {
  std::error_code error;
  const std::filesystem::path path(nativePath);
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const auto modified = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  const auto ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
  return SongKey{nativePath, size, static_cast<std::int64_t>(ns)};
}

std::string EnvelopeCache::encode(const SongKey& key, const std::vector<Peak>& peaks) {
  std::string out(kMagic);
  put(out, kVersion);
  put(out, Envelope::kBucketsPerSecond);
  put(out, key.size);
  put(out, static_cast<std::uint64_t>(key.modifiedNs));
  put(out, key.path.size());
  out += key.path;
  put(out, peaks.size());
  for (const Peak& peak : peaks) {
    out.push_back(static_cast<char>(peak.low));
    out.push_back(static_cast<char>(peak.high));
  }
  put(out, fnv1a(out));
  return out;
}

std::optional<std::vector<Peak>> EnvelopeCache::decode(std::string_view bytes, const SongKey& key) {
  Reader in(bytes);
  if (!in.take(kMagic) || in.number() != kVersion || in.number() != Envelope::kBucketsPerSecond ||
      in.number() != key.size || in.number() != static_cast<std::uint64_t>(key.modifiedNs)) {
    return std::nullopt;
  }
  const auto pathLength = in.number();
  if (!pathLength || *pathLength > kMaxPath) return std::nullopt;
  const auto path = in.bytes(*pathLength);
  if (!path || *path != key.path) return std::nullopt;
  const auto count = in.number();
  if (!count || *count > kMaxPeaks) return std::nullopt;
  const auto levels = in.bytes(*count * 2);
  if (!levels) return std::nullopt;
  const std::size_t checked = in.at();
  if (in.number() != fnv1a(bytes.substr(0, checked)) || !in.atEnd()) return std::nullopt;
  std::vector<Peak> peaks(*count);
  for (std::size_t i = 0; i < peaks.size(); ++i) {
    const auto low = static_cast<std::int8_t>((*levels)[2 * i]);
    const auto high = static_cast<std::int8_t>((*levels)[2 * i + 1]);
    // The builder writes levels within -127..127, the low one first.
    if (low < -127 || high < -127 || low > high) return std::nullopt;
    peaks[i] = {low, high};
  }
  return peaks;
}

void EnvelopeCache::seal(std::string& bytes) {
  if (bytes.size() < 8) return;
  const std::size_t body = bytes.size() - 8;
  std::string sum;
  put(sum, fnv1a(std::string_view(bytes).substr(0, body)));
  bytes.replace(body, 8, sum);
}

std::string EnvelopeCache::fileOf(std::string_view path) const {
  static const char* digits = "0123456789abcdef";
  std::string name;
  for (std::uint64_t hash = fnv1a(path), i = 0; i < 16; ++i, hash >>= 4) {
    name.push_back(digits[hash & 0xf]);
  }
  return m_folder + "/" + name + ".peaks";
}

std::optional<std::vector<Peak>> EnvelopeCache::load(const SongKey& key) const {
  if (m_folder.empty()) return std::nullopt;
  // A cache file as large as the longest song allowed, with its key; anything larger is not one.
  const platform::FileBytes file =
      platform::readFileBytes(platform::gbkPath(fileOf(key.path)), kMaxPeaks * 2 + kMaxPath + 1024);
  if (file.status != platform::ReadStatus::Ok) return std::nullopt;
  return decode(file.bytes, key);
}

bool EnvelopeCache::store(const SongKey& key, const std::vector<Peak>& peaks) const {
  if (m_folder.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(m_folder, error);
  return platform::writeFileReplacing(platform::gbkPath(fileOf(key.path)), encode(key, peaks));
}

}  // namespace waveform
