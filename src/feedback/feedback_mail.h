#pragma once

#include <string>
#include <string_view>

#include "feedback/mail_message.h"

namespace feedback {

// The body of a feedback mail: the suggestion and the contact behind their two labels, joined
// with nothing between them. Texts are UTF-8.
std::string feedbackBody(std::string_view suggestion, std::string_view contact);

// The feedback mail from the feedback mailbox to itself, with its fixed subject.
MailMessage feedbackMail(const std::string& mailbox, std::string_view suggestion,
                         std::string_view contact, std::string date, std::string messageId);

}  // namespace feedback
