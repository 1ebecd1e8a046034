#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "feedback/smtp_client.h"
#include "feedback/smtp_mail_sender.h"
#include "feedback/smtp_test_server.h"

namespace {

using namespace std::chrono_literals;
using testsupport::SmtpTestServer;

feedback::SmtpSettings settingsFor(int port, const char* password = SmtpTestServer::kPassword) {
  return {"127.0.0.1", port, SmtpTestServer::kLogin, password, feedback::TlsMode::Off};
}

TEST(SmtpClientTest, DeliversTheBytesWithAuthLoginAndDotsIntact) {
  SmtpTestServer server;
  ASSERT_NE(server.port(), 0);
  // Lines that are, or start with, a dot must not end the data early or lose their dot.
  const std::string message =
      "From: feedback@example.com\r\nTo: feedback@example.com\r\nSubject: dots\r\n\r\n"
      "first\r\n.\r\n..two dots\r\n.one dot\r\nlast\r\n";
  feedback::SmtpClient client;
  const auto result = client.send(settingsFor(server.port()), message, 10s);
  ASSERT_TRUE(result.accepted) << result.error;
  EXPECT_EQ(result.error, "");
  ASSERT_EQ(server.messageCount(), 1);
  EXPECT_EQ(server.captured(1, "eml"), message);
  EXPECT_EQ(server.captured(1, "envelope"),
            "mechanism LOGIN\nlogin feedback@example.com\nfrom feedback@example.com\n"
            "to feedback@example.com\ncharset None\ndefects 0\n");
}

TEST(SmtpClientTest, TheFeedbackMailArrivesDecodedByteForByte) {
  SmtpTestServer server;
  ASSERT_NE(server.port(), 0);
  testsupport::TempDir config;
  // The default tls mode (STARTTLS when offered) talks plain to a server that offers none.
  const std::string path = config.write(
      "feedback.ini", "[smtp]\npassword=" + std::string(SmtpTestServer::kPassword) + "\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  feedback::SmtpSettings defaults = settingsFor(server.port(), "");
  defaults.tls = feedback::TlsMode::StartTlsWhenOffered;
  feedback::SmtpMailSender sender(defaults, path, 10s);

  const std::string suggestion = "  第一行\n.\n第三行：好用！ 😀";
  const auto result = sender.send(suggestion, "QQ 12345");
  ASSERT_TRUE(result.accepted) << result.error;
  ASSERT_EQ(server.messageCount(), 1);
  EXPECT_EQ(server.captured(1, "subject"), "青禾歌词编辑器客户建议");
  EXPECT_EQ(server.captured(1, "body"),
            "客户建议：  第一行\r\n.\r\n第三行：好用！ 😀联系方式：QQ 12345");
  const std::string envelope = server.captured(1, "envelope");
  EXPECT_NE(envelope.find("charset utf-8\n"), std::string::npos) << envelope;
  EXPECT_NE(envelope.find("defects 0\n"), std::string::npos) << envelope;
  EXPECT_NE(envelope.find("to feedback@example.com\n"), std::string::npos) << envelope;
}

TEST(SmtpClientTest, RefusedUnreachableAndSilentServersFailWithinTheBound) {
  SmtpTestServer server;
  SmtpTestServer silent(true);
  ASSERT_NE(server.port(), 0);
  ASSERT_NE(silent.port(), 0);
  struct Case {
    const char* name;
    feedback::SmtpSettings settings;
  };
  const Case cases[] = {
      {"wrong password", settingsFor(server.port(), "wrong")},
      {"closed port", settingsFor(SmtpTestServer::closedPort())},
      {"silent server", settingsFor(silent.port())},
  };
  for (const Case& c : cases) {
    feedback::SmtpClient client;
    const auto start = std::chrono::steady_clock::now();
    const auto result = client.send(c.settings, "Subject: x\r\n\r\nx\r\n", 1500ms);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(result.accepted) << c.name;
    EXPECT_NE(result.error, "") << c.name;
    EXPECT_LT(took, 5s) << c.name;
  }
  EXPECT_EQ(server.messageCount(), 0);
}

TEST(SmtpClientTest, CancelEndsASendAtOnceAndRefusesLaterOnes) {
  SmtpTestServer silent(true);
  ASSERT_NE(silent.port(), 0);
  feedback::SmtpClient client;
  auto running = std::async(std::launch::async, [&] {
    return client.send(settingsFor(silent.port()), "Subject: x\r\n\r\nx\r\n", 20s);
  });
  // Let it connect and wait for the greeting that never comes.
  EXPECT_EQ(running.wait_for(300ms), std::future_status::timeout);
  const auto start = std::chrono::steady_clock::now();
  client.cancel();
  ASSERT_EQ(running.wait_for(5s), std::future_status::ready) << "cancel did not end the send";
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  const auto result = running.get();
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(result.error, "cancelled");
  EXPECT_EQ(client.send(settingsFor(silent.port()), "x", 20s).error, "cancelled");
}

}  // namespace
