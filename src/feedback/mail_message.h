#pragma once

#include <ctime>
#include <string>

namespace feedback {

// One plain-text e-mail with UTF-8 texts, ready to be written as RFC 5322 bytes.
struct MailMessage {
  std::string from;       // the sender's address, e.g. "someone@example.com"
  std::string to;         // the one recipient's address
  std::string subject;    // UTF-8
  std::string body;       // UTF-8; line breaks become CR LF
  std::string date;       // an RFC 5322 date, see mailDate
  std::string messageId;  // "<unique@domain>"
};

// The message as it goes over SMTP: headers in ASCII (the subject as MIME encoded-words), a
// base64 text/plain UTF-8 body, CR LF line breaks, no line longer than 78 characters.
std::string messageBytes(const MailMessage& message);

// `when` as an RFC 5322 date in the zone `utcOffsetSeconds` east of UTC, with English names
// whatever the locale: "Tue, 14 May 2024 10:20:30 +0800".
std::string mailDate(std::time_t when, long utcOffsetSeconds);

// `when` as an RFC 5322 date in the local time zone.
std::string localMailDate(std::time_t when);

}  // namespace feedback
