#pragma once

#include <chrono>
#include <mutex>
#include <set>
#include <string>

#include <curl/curl.h>

#include "feedback/smtp_settings.h"
#include "platform/mail_sender.h"

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
  platform::SendResult send(const SmtpSettings& settings, const std::string& message,
                            std::chrono::milliseconds timeout);
  // Thread-safe: ends a running send() at once and refuses every later one.
  void cancel();

 private:
  friend struct SmtpClientCallbacks;

  bool cancelled();

  std::mutex m_mutex;
  bool m_cancelled = false;
  // The multi handle of the send in progress, for waking its poll.
  CURLM* m_running = nullptr;
  // The sockets libcurl opened and has not closed yet. cancel() shuts them down: libcurl,
  // detaching a transfer or closing its connection, says QUIT and waits for the reply of a
  // server that may never give one. Closing happens under the lock, so a number that the
  // system gives out again is never shut down by mistake.
  std::set<curl_socket_t> m_sockets;
};

}  // namespace feedback
