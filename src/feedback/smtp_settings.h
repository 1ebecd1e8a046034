#pragma once

#include <optional>
#include <string>

namespace feedback {

// How the SMTP session is protected.
enum class TlsMode {
  StartTlsWhenOffered,  // "starttls": switch to TLS when the server offers STARTTLS
  Off,                  // "off": plain text, for a local test server
};

// Where and as whom the feedback mail is sent. The mailbox is sender, recipient and login.
struct SmtpSettings {
  std::string host;
  int port = 25;
  std::string mailbox;
  std::string password;
  TlsMode tls = TlsMode::StartTlsWhenOffered;
};

// Either usable settings or the reason why there are none.
struct SmtpSettingsResult {
  std::optional<SmtpSettings> settings;
  // The reason for the log (English).
  std::string error;
  // The reason for the user (UTF-8 Chinese): which setting is missing or refused and where the
  // settings file belongs.
  std::string userMessage = {};
};

// The settings given to the build (host, port, mailbox; never a password).
SmtpSettings buildSmtpSettings();

// The editor's per-user settings folder: $XDG_CONFIG_HOME/qinghe-lrc-editor, or ~/.config/...
// when the variable is unset or not absolute; empty when no home is known. It holds
// feedback.ini and settings.ini.
std::string editorConfigFolder();

// The per-user file that overrides them: $XDG_CONFIG_HOME/qinghe-lrc-editor/feedback.ini, or
// ~/.config/... when the variable is unset or not absolute; empty when no home is known.
std::string feedbackConfigPath();

// `defaults` overridden by the [smtp] keys host, port, mailbox, password and tls of the file at
// `path`. A missing file leaves the defaults; a file that group or others may access is refused
// (it holds the password). The result is checked: every value present and well-formed.
SmtpSettingsResult loadSmtpSettings(const SmtpSettings& defaults, const std::string& path);

}  // namespace feedback
