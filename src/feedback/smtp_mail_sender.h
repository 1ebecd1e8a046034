#pragma once

#include <chrono>
#include <string>

#include "feedback/smtp_client.h"
#include "feedback/smtp_settings.h"
#include "platform/mail_sender.h"

namespace feedback {

// Sends the feedback mail over SMTP with the build's settings overridden by the per-user
// settings file, which is read at every send.
class SmtpMailSender : public platform::MailSender {
 public:
  // The longest a send may take before it counts as failed.
  static constexpr std::chrono::milliseconds kDefaultTimeout{20000};

  // The program's sender: the build settings, the user's feedback.ini, the default bound.
  SmtpMailSender();
  SmtpMailSender(SmtpSettings defaults, std::string configPath, std::chrono::milliseconds timeout);

  platform::SendResult send(const std::string& suggestion, const std::string& contact) override;
  void cancel() override;

 private:
  SmtpSettings m_defaults;
  std::string m_configPath;
  std::chrono::milliseconds m_timeout;
  SmtpClient m_client;
};

}  // namespace feedback
