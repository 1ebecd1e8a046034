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

// Why the settings file cannot be used: the log's reason and the user's.
struct Refusal {
  std::string error;
  std::string userMessage;
};

Refusal unreadable(const std::string& path, const std::string& reason) {
  return {path + reason, "提交失败：无法读取反馈邮箱设置文件 " + path + "。"};
}

// Reads the file at `path`; nothing when it does not exist. Fills `refusal` when it exists but
// must not or cannot be used.
std::optional<std::string> readPrivateFile(const std::string& path, Refusal& refusal) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) refusal = unreadable(path, std::string(": ") + std::strerror(errno));
    return std::nullopt;
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  // The permissions are those of the opened file, so a swap after the check changes nothing.
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    refusal = unreadable(path, std::string(": ") + std::strerror(errno));
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    refusal = unreadable(path, " is not a regular file");
    return std::nullopt;
  }
  if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    refusal = {path +
                   " holds the mailbox password but group or others may access it; "
                   "it is not used until only its owner can read it (chmod 600)",
               "提交失败：反馈邮箱设置文件 " + path +
                   " 的权限过宽，组或其他用户也能访问它。文件中有邮箱密码，所以没有使用它。"
                   "请运行 chmod 600 " +
                   path + "，只让自己能读写。"};
    return std::nullopt;
  }
  std::string bytes;
  char buffer[4096];
  while (bytes.size() < kMaxFileSize) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      refusal = unreadable(path, std::string(": ") + std::strerror(errno));
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

std::string editorConfigFolder() {
  std::string base;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  return base + "/qinghe-lrc-editor";
}

std::string feedbackConfigPath() {
  const std::string folder = editorConfigFolder();
  return folder.empty() ? std::string() : folder + "/feedback.ini";
}

SmtpSettingsResult loadSmtpSettings(const SmtpSettings& defaults, const std::string& path) {
  SmtpSettings settings = defaults;
  if (path.empty()) {
    return {std::nullopt, "no mailbox password: neither XDG_CONFIG_HOME nor HOME is set",
            "提交失败：找不到反馈邮箱设置文件 feedback.ini：XDG_CONFIG_HOME 和 HOME 都没有设置。"
            "它通常是 ~/.config/qinghe-lrc-editor/feedback.ini。"};
  }
  Refusal refusal;
  const auto bytes = readPrivateFile(path, refusal);
  if (!refusal.error.empty()) return {std::nullopt, refusal.error, refusal.userMessage};
  const std::string source = bytes ? path : std::string("the build settings");
  // A value the file holds but that cannot be used.
  const auto refused = [&path](const std::string& error, const std::string& key,
                               const std::string& value, const char* expected) {
    return SmtpSettingsResult{std::nullopt, error,
                              "提交失败：反馈邮箱设置 " + key + " 的值“" + value + "”不正确，应为" +
                                  expected + "。请在 " + path + " 的 [smtp] 中改正。"};
  };
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
      if (!number) {
        return refused(path + ": port \"" + *port + "\" is not 1 to 65535", "port", *port,
                       " 1 到 65535 的端口号");
      }
      settings.port = *number;
    }
    if (const auto tls = value("tls")) {
      const std::string mode = lyrics::asciiLower(*tls);
      if (mode == "starttls") {
        settings.tls = TlsMode::StartTlsWhenOffered;
      } else if (mode == "off") {
        settings.tls = TlsMode::Off;
      } else {
        return refused(path + ": tls \"" + *tls + "\" is neither starttls nor off", "tls", *tls,
                       " starttls 或 off");
      }
    }
  }
  std::string missing;
  const std::pair<const char*, const std::string*> required[] = {
      {"host", &settings.host}, {"mailbox", &settings.mailbox}, {"password", &settings.password}};
  for (const auto& [key, value] : required) {
    if (value->empty()) missing += (missing.empty() ? "" : "、") + std::string(key);
  }
  const std::string missingMessage =
      bytes ? "提交失败：反馈邮箱设置文件 " + path + " 的 [smtp] 中缺少 " + missing + "。"
            : "提交失败：没有设置反馈邮箱。请创建文件 " + path + "，在 [smtp] 下写上 " + missing +
                  "，再运行 chmod 600 " + path + "。";
  if (!isValidHost(settings.host)) {
    const std::string error = source + ": no usable SMTP host (host=\"" + settings.host + "\")";
    if (settings.host.empty()) return {std::nullopt, error, missingMessage};
    return refused(error, "host", settings.host, " SMTP 服务器的名称或地址");
  }
  if (!isValidMailbox(settings.mailbox)) {
    const std::string error = source + ": no usable mailbox (mailbox=\"" + settings.mailbox + "\")";
    if (settings.mailbox.empty()) return {std::nullopt, error, missingMessage};
    return refused(error, "mailbox", settings.mailbox, "一个邮箱地址，如 feedback@example.com");
  }
  if (settings.password.empty()) {
    return {std::nullopt, "no mailbox password: set password in [smtp] of " + path, missingMessage};
  }
  return {settings, {}, {}};
}

}  // namespace feedback
