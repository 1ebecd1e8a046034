#include "feedback/smtp_mail_sender.h"

#include <cstdio>
#include <ctime>
#include <random>

#include "feedback/feedback_mail.h"

namespace feedback {

namespace {

// "<random.time@domain of the mailbox>", unique enough for one user's mails.
std::string newMessageId(const std::string& mailbox, std::time_t now) {
  std::random_device source;
  char id[64];
  std::snprintf(id, sizeof id, "%08x%08x.%lld", source(), source(), static_cast<long long>(now));
  return "<" + std::string(id) + mailbox.substr(mailbox.find('@')) + ">";
}

}  // namespace

SmtpMailSender::SmtpMailSender()
    : SmtpMailSender(buildSmtpSettings(), feedbackConfigPath(), kDefaultTimeout) {}

SmtpMailSender::SmtpMailSender(SmtpSettings defaults, std::string configPath,
                               std::chrono::milliseconds timeout)
    : m_defaults(std::move(defaults)), m_configPath(std::move(configPath)), m_timeout(timeout) {}

platform::SendResult SmtpMailSender::send(const std::string& suggestion,
                                          const std::string& contact) {
  const SmtpSettingsResult loaded = loadSmtpSettings(m_defaults, m_configPath);
  if (!loaded.settings) return {false, loaded.error, loaded.userMessage};
  const SmtpSettings& settings = *loaded.settings;
  const std::time_t now = std::time(nullptr);
  const MailMessage mail = feedbackMail(settings.mailbox, suggestion, contact, localMailDate(now),
                                        newMessageId(settings.mailbox, now));
  return m_client.send(settings, messageBytes(mail), m_timeout);
}

void SmtpMailSender::cancel() { m_client.cancel(); }

}  // namespace feedback
