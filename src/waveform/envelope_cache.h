#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "waveform/envelope.h"

namespace waveform {

// Which file an envelope belongs to: its path (the file system's bytes), size and time of its
// last change. A file changed in place gets a new key, so its old envelope is never shown.
struct SongKey {
  std::string path;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const SongKey&) const = default;

  // The key of the file at `nativePath` as it is now; nothing when it is not a readable file.
  static std::optional<SongKey> of(const std::string& nativePath);
};

// The envelope cache: one file per song in a folder of its own, each holding the song's key
// and its envelope, with a checksum. The file is read back by the editor and so is untrusted: a
// file that is damaged, foreign, of another version or of another song gives nothing.
class EnvelopeCache {
 public:
  // The cache in `folder` (the file system's bytes); "" keeps none.
  explicit EnvelopeCache(std::string folder) : m_folder(std::move(folder)) {}

  // The envelope kept for `key`, if a sound one is.
  std::optional<std::vector<Peak>> load(const SongKey& key) const;
  // Keeps `peaks` for `key`, written atomically (the folder is made if missing); false when the
  // write failed.
  bool store(const SongKey& key, const std::vector<Peak>& peaks) const;
  // The file that holds the envelope of `path`.
  std::string fileOf(std::string_view path) const;

  // The bytes of a cache file.
  static std::string encode(const SongKey& key, const std::vector<Peak>& peaks);
  // The envelope in the cache file `bytes` when it is sound and belongs to `key`.
  static std::optional<std::vector<Peak>> decode(std::string_view bytes, const SongKey& key);
  // Gives `bytes` (at least 8) a right checksum in their last 8 bytes, so that a fuzzer reaches
  // the checks behind it.
  static void seal(std::string& bytes);

 private:
  std::string m_folder;
};

}  // namespace waveform
