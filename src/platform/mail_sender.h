#pragma once

#include <string>

namespace platform {

// What became of one mail.
struct SendResult {
  bool accepted = false;  // the server took the message for delivery
  std::string error;      // why not, for the log; empty when accepted
  // Why not, for the user, when the mail settings are missing or refused (UTF-8); empty when
  // the mail was accepted or the connection to the server failed.
  std::string settingsProblem = {};
};

// Sends feedback mails. send() blocks and runs off the GUI thread; cancel() may be called from
// any thread while it runs.
class MailSender {
 public:
  virtual ~MailSender() = default;
  // Sends the feedback mail for `suggestion` and `contact` (UTF-8); returns once the server
  // accepted or refused it, the time bound passed, or the sender was cancelled.
  virtual SendResult send(const std::string& suggestion, const std::string& contact) = 0;
  // Makes a running send() return soon and every later one at once.
  virtual void cancel() = 0;
};

}  // namespace platform
