#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "feedback/smtp_settings.h"
#include "support/temp_dir.h"

namespace {

using feedback::SmtpSettings;
using feedback::TlsMode;

SmtpSettings defaults() {
  SmtpSettings settings;
  settings.host = "smtp.example.com";
  settings.port = 25;
  settings.mailbox = "box@example.com";
  return settings;
}

TEST(SmtpSettingsTest, TheUsersFileOverridesTheBuildAndMustBePrivate) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // nothing: no file at all
    mode_t mode;
    // Expected settings, or the part of the error that names the reason.
    std::optional<SmtpSettings> settings;
    std::string error;
  };
  SmtpSettings full{"127.0.0.1", 2525, "me@example.org", "pw 1", TlsMode::Off};
  SmtpSettings passwordOnly = defaults();
  passwordOnly.password = "secret";
  const Case cases[] = {
      {"every key, blanks around values, CR LF",
       "[smtp]\r\nhost = 127.0.0.1\r\nport=2525\r\nmailbox=me@example.org\r\n"
       "password= pw 1 \r\nTLS=OFF\r\n",
       0600, full, ""},
      {"only the password; other sections ignored",
       "[other]\nhost=evil.example\n[SMTP]\npassword=secret\n", 0600, passwordOnly, ""},
      {"explicit starttls", "[smtp]\npassword=secret\ntls=starttls\n", 0400, passwordOnly, ""},
      {"no file: no password", std::nullopt, 0, std::nullopt, "no mailbox password"},
      {"empty password", "[smtp]\npassword=\n", 0600, std::nullopt, "no mailbox password"},
      {"readable by others", "[smtp]\npassword=secret\n", 0644, std::nullopt, "chmod 600"},
      {"readable by the group", "[smtp]\npassword=secret\n", 0640, std::nullopt, "chmod 600"},
      {"writable by the group", "[smtp]\npassword=secret\n", 0620, std::nullopt, "chmod 600"},
      {"port not a number", "[smtp]\npassword=x\nport=25a\n", 0600, std::nullopt, "port"},
      {"port zero", "[smtp]\npassword=x\nport=0\n", 0600, std::nullopt, "port"},
      {"port too large", "[smtp]\npassword=x\nport=65536\n", 0600, std::nullopt, "port"},
      {"unknown tls mode", "[smtp]\npassword=x\ntls=yes\n", 0600, std::nullopt, "tls"},
      {"mailbox without @", "[smtp]\npassword=x\nmailbox=box\n", 0600, std::nullopt, "mailbox"},
      {"mailbox with header text", "[smtp]\npassword=x\nmailbox=a@b.c>,<c@d.e\n", 0600,
       std::nullopt, "mailbox"},
      {"empty host", "[smtp]\npassword=x\nhost=\n", 0600, std::nullopt, "host"},
      {"host with a path", "[smtp]\npassword=x\nhost=a.example/x\n", 0600, std::nullopt, "host"},
  };
  for (const Case& c : cases) {
    testsupport::TempDir dir;
    const std::string path = dir.file("feedback.ini");
    if (c.file) {
      dir.write("feedback.ini", *c.file);
      ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    }
    const auto result = feedback::loadSmtpSettings(defaults(), path);
    if (c.settings) {
      ASSERT_TRUE(result.settings) << c.name << ": " << result.error;
      EXPECT_EQ(result.settings->host, c.settings->host) << c.name;
      EXPECT_EQ(result.settings->port, c.settings->port) << c.name;
      EXPECT_EQ(result.settings->mailbox, c.settings->mailbox) << c.name;
      EXPECT_EQ(result.settings->password, c.settings->password) << c.name;
      EXPECT_EQ(result.settings->tls, c.settings->tls) << c.name;
    } else {
      EXPECT_FALSE(result.settings) << c.name;
      EXPECT_NE(result.error.find(c.error), std::string::npos) << c.name << ": " << result.error;
    }
  }
}

TEST(SmtpSettingsTest, MissingOrRefusedSettingsTellTheUserWhatAndWhere) {
  struct Case {
    const char* name;
    bool buildHasServer;
    std::optional<std::string> file;  // nothing: no file at all
    mode_t mode;
    // The message, with P standing for the file's path.
    std::string message;
  };
  const Case cases[] = {
      {"no file, default build", false, std::nullopt, 0,
       "提交失败：没有设置反馈邮箱。请创建文件 P，在 [smtp] 下写上 host、mailbox、password，"
       "再运行 chmod 600 P。"},
      {"no file, the build names the server", true, std::nullopt, 0,
       "提交失败：没有设置反馈邮箱。请创建文件 P，在 [smtp] 下写上 password，再运行 chmod 600 P。"},
      {"no password", true, "[smtp]\nhost=smtp.example.com\n", 0600,
       "提交失败：反馈邮箱设置文件 P 的 [smtp] 中缺少 password。"},
      {"only a password, default build", false, "[smtp]\npassword=x\n", 0600,
       "提交失败：反馈邮箱设置文件 P 的 [smtp] 中缺少 host、mailbox。"},
      {"readable by others", true, "[smtp]\npassword=secret\n", 0644,
       "提交失败：反馈邮箱设置文件 P 的权限过宽，组或其他用户也能访问它。文件中有邮箱密码，"
       "所以没有使用它。请运行 chmod 600 P，只让自己能读写。"},
      {"bad port", true, "[smtp]\npassword=x\nport=25a\n", 0600,
       "提交失败：反馈邮箱设置 port 的值“25a”不正确，应为 1 到 65535 的端口号。请在 P 的 [smtp] "
       "中改正。"},
      {"a folder, not a file", true, std::nullopt, 0700, "提交失败：无法读取反馈邮箱设置文件 P。"},
  };
  for (const Case& c : cases) {
    testsupport::TempDir dir;
    const std::string path = dir.file("feedback.ini");
    if (c.file) {
      dir.write("feedback.ini", *c.file);
      ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    } else if (c.mode != 0) {
      ASSERT_EQ(::mkdir(path.c_str(), c.mode), 0);
    }
    const auto result =
        feedback::loadSmtpSettings(c.buildHasServer ? defaults() : SmtpSettings{}, path);
    EXPECT_FALSE(result.settings) << c.name;
    std::string expected = c.message;
    for (auto at = expected.find('P'); at != std::string::npos; at = expected.find('P', at))
      expected.replace(at, 1, path), at += path.size();
    EXPECT_EQ(result.userMessage, expected) << c.name;
  }
  // Without a home there is no file to name but the usual one.
  EXPECT_EQ(feedback::loadSmtpSettings(defaults(), "").userMessage,
            "提交失败：找不到反馈邮箱设置文件 feedback.ini：XDG_CONFIG_HOME 和 HOME 都没有设置。"
            "它通常是 ~/.config/qinghe-lrc-editor/feedback.ini。");
}

TEST(SmtpSettingsTest, TheFileLivesInTheUsersConfigFolder) {
  const char* oldHome = std::getenv("HOME");
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  const std::string savedConfig = oldConfig ? oldConfig : "";

  ::setenv("HOME", "/home/someone", 1);
  ::setenv("XDG_CONFIG_HOME", "/tmp/conf", 1);
  EXPECT_EQ(feedback::feedbackConfigPath(), "/tmp/conf/qinghe-lrc-editor/feedback.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(feedback::feedbackConfigPath(), "/home/someone/.config/qinghe-lrc-editor/feedback.ini");
  // A relative or empty XDG_CONFIG_HOME is not a valid setting.
  ::setenv("XDG_CONFIG_HOME", "relative/conf", 1);
  EXPECT_EQ(feedback::feedbackConfigPath(), "/home/someone/.config/qinghe-lrc-editor/feedback.ini");
  ::setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(feedback::feedbackConfigPath(), "/home/someone/.config/qinghe-lrc-editor/feedback.ini");
  ::unsetenv("HOME");
  EXPECT_EQ(feedback::feedbackConfigPath(), "");
  const auto result = feedback::loadSmtpSettings(defaults(), "");
  EXPECT_FALSE(result.settings);

  if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
  if (oldConfig) {
    ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
