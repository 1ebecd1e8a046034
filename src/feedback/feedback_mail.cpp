#include "feedback/feedback_mail.h"

namespace feedback {

// This folder is not one of the GBK folders: the mail is UTF-8 from end to end, so its string
// literals are the UTF-8 bytes of the sources, and the window hands over UTF-8 texts.

std::string feedbackBody(std::string_view suggestion, std::string_view contact) {
  std::string body = "客户建议：";
  body += suggestion;
  body += "联系方式：";
  body += contact;
  return body;
}

MailMessage feedbackMail(const std::string& mailbox, std::string_view suggestion,
                         std::string_view contact, std::string date, std::string messageId) {
  return {mailbox,
          mailbox,
          "青禾歌词编辑器客户建议",
          feedbackBody(suggestion, contact),
          std::move(date),
          std::move(messageId)};
}

}  // namespace feedback
