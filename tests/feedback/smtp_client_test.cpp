#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "feedback/smtp_client.h"
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
