#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "feedback/feedback_mail.h"
#include "feedback/mail_message.h"
#include "feedback/mime_text.h"

namespace {

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(MimeTextTest, Base64MatchesTheStandardVectors) {
  const std::pair<std::string, std::string> cases[] = {{"", ""},
                                                       {"f", "Zg=="},
                                                       {"fo", "Zm8="},
                                                       {"foo", "Zm9v"},
                                                       {"foob", "Zm9vYg=="},
                                                       {"fooba", "Zm9vYmE="},
                                                       {"foobar", "Zm9vYmFy"},
                                                       {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& [bytes, encoded] : cases) EXPECT_EQ(feedback::base64(bytes), encoded) << bytes;
  // 57 bytes make exactly one 76-character line.
  const std::string lines = feedback::base64Lines(std::string(58, 'a'));
  EXPECT_EQ(lines.find("\r\n"), 76u);
  EXPECT_EQ(lines.substr(78), "YQ==\r\n");
}

TEST(MimeTextTest, EncodedWordsHoldWholeCharactersWithinTheLimit) {
  const std::string word = "歌";  // three UTF-8 bytes
  const auto encoded = [](const std::string& text) {
    return "=?UTF-8?B?" + feedback::base64(text) + "?=";
  };
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"青禾歌词编辑器客户建议", encoded("青禾歌词编辑器客户建议")},
      {"", ""},
      // 45 bytes fit one word; the 16th character starts the next.
      {repeated(word, 40), encoded(repeated(word, 15)) + "\r\n " + encoded(repeated(word, 15)) +
                               "\r\n " + encoded(repeated(word, 10))},
      // 1 + 15 * 3 = 46 bytes would split the 15th character: it moves to the next word.
      {"a" + repeated(word, 20),
       encoded("a" + repeated(word, 14)) + "\r\n " + encoded(repeated(word, 6))},
  };
  for (const auto& c : cases) {
    const std::string result = feedback::encodedWords(c.text);
    EXPECT_EQ(result, c.expected) << c.text;
    std::size_t start = 0;
    while (start < result.size()) {
      const auto end = result.find("\r\n ", start);
      const std::size_t length = (end == std::string::npos ? result.size() : end) - start;
      EXPECT_LE(length, 75u) << c.text;
      if (end == std::string::npos) break;
      start = end + 3;
    }
  }
}

TEST(MimeTextTest, LineBreaksBecomeCrLf) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb", "a\r\nb"},         {"a\r\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},         {"\n\n", "\r\n\r\n"},
      {"a\r\n\rb", "a\r\n\r\nb"}, {"a\n\r\nb\r", "a\r\n\r\nb\r\n"},
      {"no break", "no break"},   {"", ""}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(feedback::crlfLineBreaks(text), expected);
}

TEST(MailMessageTest, DatesAreRfc5322InTheGivenZone) {
  EXPECT_EQ(feedback::mailDate(0, 0), "Thu, 01 Jan 1970 00:00:00 +0000");
  // 2024-05-14 02:20:30 UTC.
  EXPECT_EQ(feedback::mailDate(1715653230, 8 * 3600), "Tue, 14 May 2024 10:20:30 +0800");
  EXPECT_EQ(feedback::mailDate(1715653230, -(5 * 3600 + 1800)), "Mon, 13 May 2024 20:50:30 -0530");
}

TEST(MailMessageTest, FeedbackMailIsAsciiWithCrLfLinesAndTheExactBody) {
  EXPECT_EQ(feedback::feedbackBody("好用", "abc"), "客户建议：好用联系方式：abc");
  const feedback::MailMessage mail = feedback::feedbackMail(
      "box@example.com", "好用", "abc", "Tue, 14 May 2024 10:20:30 +0800", "<id@example.com>");
  EXPECT_EQ(mail.from, "box@example.com");
  EXPECT_EQ(mail.to, "box@example.com");
  const std::string bytes = feedback::messageBytes(mail);
  const std::string head =
      "From: box@example.com\r\n"
      "To: box@example.com\r\n"
      "Subject: " +
      feedback::encodedWords("青禾歌词编辑器客户建议") +
      "\r\n"
      "Date: Tue, 14 May 2024 10:20:30 +0800\r\n"
      "Message-ID: <id@example.com>\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: text/plain; charset=UTF-8\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "\r\n";
  EXPECT_EQ(bytes, head + feedback::base64Lines("客户建议：好用联系方式：abc"));

  // A long suggestion with LF breaks and dots at line starts still makes short CR LF lines.
  const std::string longText = repeated("很长的建议。", 200) + "\n.\n..end";
  const std::string longBytes = feedback::messageBytes(
      feedback::feedbackMail("box@example.com", longText, "qq", "d", "<i@example.com>"));
  std::size_t start = 0;
  while (start < longBytes.size()) {
    const auto end = longBytes.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "unterminated last line";
    const std::string line = longBytes.substr(start, end - start);
    EXPECT_LE(line.size(), 78u);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line break";
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80;
    })) << line;
    start = end + 2;
  }
}

}  // namespace
