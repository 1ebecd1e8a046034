#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include <curl/curl.h>

#include "feedback/mail_sender.h"
#include "feedback/smtp_settings.h"

namespace feedback {

// One SMTP delivery at a time over libcurl: AUTH LOGIN with the mailbox and its password,
// STARTTLS when offered unless TLS is off, bounded in time and cancellable from another thread.
class SmtpClient {
 public:
  SmtpClient();
  SmtpClient(const SmtpClient&) = delete;
  SmtpClient& operator=(const SmtpClient&) = delete;

  // Sends the RFC 5322 `message` from the mailbox to the mailbox. True only when the server
  // answered the end of the data with success.
  SendResult send(const SmtpSettings& settings, const std::string& message,
                  std::chrono::milliseconds timeout);
  // Thread-safe: ends a running send() at once and refuses every later one.
  void cancel();

 private:
  bool cancelled();

  std::mutex m_mutex;
  bool m_cancelled = false;
  CURLM* m_running = nullptr;  // the multi handle of the send in progress, for waking it
};

}  // namespace feedback
