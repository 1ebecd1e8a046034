#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/file_form.h"
#include "lyrics/lyrics_snapshot.h"
#include "lyrics/lyrics_text.h"
#include "platform/file_io.h"

namespace files {

// The recovery file: the document as it stood, so that a closed, killed or crashed editor gives
// its work back. Little-endian, lines byte for byte:
//   "QHLRCREC", version (u32 = 1), encoding (u8), line end (u8), two zero bytes,
//   line count N (u32), selection (i32, -1 = none), text bytes T (u64), side count S (u32),
//   side bytes B (u32), file size (u64);
//   S side lengths (u32) and their B bytes; N line lengths (u32) and their T bytes;
//   a 64-bit checksum of everything before it.
// Every count is checked against the file's size and the checksum against its bytes before
// anything of it is used.
struct RecoveryState {
  lyrics::LyricsSnapshot lines;
  int selection = -1;
  lyrics::FileForm form;
  // The texts beside the lines: the header boxes and the song row.
  std::vector<std::string> sides;
};

// A document read back from a recovery file.
struct RecoveredDocument {
  lyrics::LyricsText lines;
  int selection = -1;
  lyrics::FileForm form;
  std::vector<std::string> sides;
};

// Bytes of the fixed head, enough for recoveryLineCount.
inline constexpr std::size_t kRecoveryHeadBytes = 48;
// Most side texts a file may claim.
inline constexpr std::uint32_t kMaxRecoverySides = 64;

// Hands the recovery file of `state` to `put` in pieces of about a megabyte; false when `put`
// gave up.
bool encodeRecoveryFile(const RecoveryState& state, const platform::PieceSink& put);
// The whole recovery file of `state`.
std::string encodeRecoveryFile(const RecoveryState& state);
// The document in `bytes`, or nothing when they are not one whole, undamaged recovery file.
std::optional<RecoveredDocument> decodeRecoveryFile(std::string bytes);
// Writes the checksum of `bytes` (all but their last 8 bytes) into their last 8 bytes, for
// tests and the fuzz target that change a file on purpose; shorter bytes stay as they are.
void sealRecoveryFile(std::string& bytes);
// The line count a recovery file's head claims, for a cheap look before reading it whole;
// nothing when `head` does not start like a recovery file of this version.
std::optional<std::uint32_t> recoveryLineCount(std::string_view head);

}  // namespace files
