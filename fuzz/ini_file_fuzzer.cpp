// The INI reader and writer: any file reads back byte for byte; a value written into it, with
// CR LF, LF or lone-CR lines, reads back as written, also after the file is read again and
// rewritten; and every other key keeps its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "lyrics/ini_file.h"

namespace {

// Section and key names the fuzzer writes, as the editor uses them: no "]", "=" or line break.
// Each is distinct from the others in any spelling below, so keys do not alias one another.
constexpr std::array<std::string_view, 4> kSections = {"GEXINGQIANMING", "a", "\xC7\xE0",
                                                       "s\xB0]x"};
constexpr std::array<std::string_view, 3> kKeys = {"PEIZHI", "k", "\xBA\xCC"};

// A spelling of `name` that the profile rules take as the same name: ASCII case changed and
// blanks around it.
std::string spelling(std::string_view name, FuzzedDataProvider& provider) {
  std::string out(name);
  const unsigned choice = provider.ConsumeIntegral<std::uint8_t>();
  for (char& c : out) {
    if ((choice & 1) && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((choice & 2) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (choice & 4) out = " " + out;
  if (choice & 8) out += "\t";
  return out;
}

using Values = std::array<std::optional<std::string>, kSections.size() * kKeys.size()>;

Values valuesOf(const lyrics::IniFile& ini) {
  Values values;
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      values[s * kKeys.size() + k] = ini.value(kSections[s], kKeys[k]);
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string file = provider.ConsumeRandomLengthString(2048);
  lyrics::IniFile ini(file);
  FUZZ_CHECK(ini.bytes() == file);

  for (int step = 0; step < 4 && provider.remaining_bytes() > 0; ++step) {
    const std::size_t s = provider.ConsumeIntegralInRange<std::size_t>(0, kSections.size() - 1);
    const std::size_t k = provider.ConsumeIntegralInRange<std::size_t>(0, kKeys.size() - 1);
    const std::string section = spelling(kSections[s], provider);
    const std::string key = spelling(kKeys[k], provider);
    // A stored value is one line: the signature panel turns its line breaks into blanks.
    std::string value = provider.ConsumeRandomLengthString(256);
    for (char& c : value) {
      if (c == '\r' || c == '\n') c = ' ';
    }

    Values expected = valuesOf(ini);
    expected[s * kKeys.size() + k] = value;
    ini.setValue(section, key, value);
    FUZZ_CHECK(valuesOf(ini) == expected);
    // The file as written reads back the same, byte for byte and value for value; the next
    // step rewrites that file, not the one in memory.
    const std::string written = ini.bytes();
    lyrics::IniFile reread(written);
    FUZZ_CHECK(reread.bytes() == written);
    FUZZ_CHECK(valuesOf(reread) == expected);
    ini = reread;
  }
  return 0;
}
