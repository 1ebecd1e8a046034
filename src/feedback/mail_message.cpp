#include "feedback/mail_message.h"

#include <cstdio>
#include <cstdlib>

#include "feedback/mime_text.h"

namespace feedback {

std::string messageBytes(const MailMessage& message) {
  std::string out;
  out += "From: " + message.from + "\r\n";
  out += "To: " + message.to + "\r\n";
  out += "Subject: " + encodedWords(message.subject) + "\r\n";
  out += "Date: " + message.date + "\r\n";
  out += "Message-ID: " + message.messageId + "\r\n";
  out += "MIME-Version: 1.0\r\n";
  out += "Content-Type: text/plain; charset=UTF-8\r\n";
  // Base64 keeps every byte of the body as typed: no line is too long for SMTP, and no line
  // of the text can be mistaken for the end of the data.
  out += "Content-Transfer-Encoding: base64\r\n";
  out += "\r\n";
  out += base64Lines(crlfLineBreaks(message.body));
  return out;
}

std::string mailDate(std::time_t when, long utcOffsetSeconds) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t shifted = when + utcOffsetSeconds;
  std::tm fields{};
  gmtime_r(&shifted, &fields);
  const long offsetMinutes = std::labs(utcOffsetSeconds) / 60;
  char text[48];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                kDays[fields.tm_wday], fields.tm_mday, kMonths[fields.tm_mon],
                fields.tm_year + 1900, fields.tm_hour, fields.tm_min, fields.tm_sec,
                utcOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
  return text;
}

std::string localMailDate(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return mailDate(when, local.tm_gmtoff);
}

}  // namespace feedback
