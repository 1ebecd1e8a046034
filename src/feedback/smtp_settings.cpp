#include "feedback/smtp_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "lyrics/ini_file.h"
#include "lyrics/text_rules.h"

#ifndef LRC_FEEDBACK_SMTP_HOST
#define LRC_FEEDBACK_SMTP_HOST ""
#endif
#ifndef LRC_FEEDBACK_SMTP_PORT
#define LRC_FEEDBACK_SMTP_PORT 25
#endif
#ifndef LRC_FEEDBACK_MAILBOX
#define LRC_FEEDBACK_MAILBOX ""
#endif

namespace feedback {

namespace {

// Larger files are not settings files; reading stops there.
constexpr std::size_t kMaxFileSize = 64 * 1024;

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::optional<int> parsePort(std::string_view text) {
  int port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || port < 1 ||
      port > 65535) {
    return std::nullopt;
  }
  return port;
}

bool isAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The host goes into an smtp:// URL: a name, an IPv4 address or a bracketed IPv6 address.
bool isValidHost(std::string_view host) {
  if (host.empty()) return false;
  for (const char c : host) {
    if (!isAsciiAlnum(c) && std::string_view(".-_:[]").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

// The mailbox goes into the mail's headers and the SMTP envelope: one plain address.
bool isValidMailbox(std::string_view mailbox) {
  const auto at = mailbox.find('@');
  if (at == std::string_view::npos || at == 0 || at + 1 == mailbox.size() ||
      mailbox.find('@', at + 1) != std::string_view::npos) {
    return false;
  }
  for (const char c : mailbox) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F ||
        std::string_view("<>()[],;:\\\"").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

// Reads the file at `path`; nothing when it does not exist. Fills `error` when it exists but
// must not or cannot be used.
std::optional<std::string> readPrivateFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  // The permissions are those of the opened file, so a swap after the check changes nothing.
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    error = path + " is not a regular file";
    return std::nullopt;
  }
  if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    error = path +
            " holds the mailbox password but group or others may access it; "
            "it is not used until only its owner can read it (chmod 600)";
    return std::nullopt;
  }
  std::string bytes;
  char buffer[4096];
  while (bytes.size() < kMaxFileSize) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      error = path + ": " + std::strerror(errno);
      return std::nullopt;
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return bytes;
}

}  // namespace

SmtpSettings buildSmtpSettings() {
  SmtpSettings settings;
  settings.host = LRC_FEEDBACK_SMTP_HOST;
  settings.port = LRC_FEEDBACK_SMTP_PORT;
  settings.mailbox = LRC_FEEDBACK_MAILBOX;
  return settings;
}

std::string feedbackConfigPath() {
  std::string base;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  return base + "/qinghe-lrc-editor/feedback.ini";
}

SmtpSettingsResult loadSmtpSettings(const SmtpSettings& defaults, const std::string& path) {
  SmtpSettings settings = defaults;
  std::string error;
  const auto bytes = readPrivateFile(path, error);
  if (!error.empty()) return {std::nullopt, error};
  const std::string source = bytes ? path : std::string("the build settings");
  if (bytes) {
    const lyrics::IniFile ini(*bytes);
    const auto value = [&ini](const char* key) -> std::optional<std::string> {
      const auto raw = ini.value("smtp", key);
      if (!raw) return std::nullopt;
      return trimmed(*raw);
    };
    if (const auto host = value("host")) settings.host = *host;
    if (const auto mailbox = value("mailbox")) settings.mailbox = *mailbox;
    if (const auto password = value("password")) settings.password = *password;
    if (const auto port = value("port")) {
      const auto number = parsePort(*port);
      if (!number) return {std::nullopt, path + ": port \"" + *port + "\" is not 1 to 65535"};
      settings.port = *number;
    }
    if (const auto tls = value("tls")) {
      const std::string mode = lyrics::asciiLower(*tls);
      if (mode == "starttls") {
        settings.tls = TlsMode::StartTlsWhenOffered;
      } else if (mode == "off") {
        settings.tls = TlsMode::Off;
      } else {
        return {std::nullopt, path + ": tls \"" + *tls + "\" is neither starttls nor off"};
      }
    }
  }
  if (!isValidHost(settings.host)) {
    return {std::nullopt, source + ": no usable SMTP host (host=\"" + settings.host + "\")"};
  }
  if (!isValidMailbox(settings.mailbox)) {
    return {std::nullopt, source + ": no usable mailbox (mailbox=\"" + settings.mailbox + "\")"};
  }
  if (settings.password.empty()) {
    if (path.empty())
      return {std::nullopt, "no mailbox password: neither XDG_CONFIG_HOME nor HOME is set"};
    return {std::nullopt, "no mailbox password: set password in [smtp] of " + path};
  }
  return {settings, {}};
}

}  // namespace feedback
