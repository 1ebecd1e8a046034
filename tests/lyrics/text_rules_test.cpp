#include "lyrics/text_rules.h"

#include <gtest/gtest.h>

using namespace lyrics;
using Lines = std::vector<std::string>;

TEST(TextRules, LeadingTagLengthIsPositional) {
  EXPECT_EQ(leadingTagLength("[00:12.34]abc"), 10u);
  EXPECT_EQ(leadingTagLength("[00:12]abc"), 7u);
  EXPECT_EQ(leadingTagLength("[00:12.34]"), 10u);
  EXPECT_EQ(leadingTagLength("abc[00:12.34]"), 0u);
  EXPECT_EQ(leadingTagLength("[00:12.34"), 0u);
  EXPECT_EQ(leadingTagLength(""), 0u);
  EXPECT_EQ(leadingTagLength("[01:02.03][04:05.06]x"), 10u);
  EXPECT_EQ(leadingTagLength("[ti:abcde]"), 10u);
  EXPECT_EQ(leadingTagLength("[ar:ab]x"), 7u);
  EXPECT_EQ(leadingTagLength("[ti:abcd]"), 0u);
}

TEST(TextRules, SearchNeverMatchesTheSecondByteOfACharacter) {
  // 0x81 0x5D is one GBK character whose second byte is "]": it is stepped over whole.
  const std::string hidden = std::string("[00:12.3") + "\x81]" + "x]";
  EXPECT_EQ(findBytes(hidden, "]"), std::optional<std::size_t>(11));
  EXPECT_EQ(leadingTagLength(hidden), 0u);
  // A real "]" at index 9 after a double-byte character still counts.
  const std::string real = std::string("[ti:") + "字符" + "a]b";
  EXPECT_EQ(leadingTagLength(real), 10u);
  EXPECT_EQ(findBytes("abc", ""), std::nullopt);
  EXPECT_EQ(findBytes("ab", "abc"), std::nullopt);
  // A lone lead byte at the very end does not swallow anything past the text.
  EXPECT_EQ(findBytes(std::string("a\xB0"), "]"), std::nullopt);
}

TEST(TextRules, SplitCutsOnlyAtWholeCrLf) {
  EXPECT_EQ(splitLyricsText("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLyricsText("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLyricsText("\r\na"), (Lines{"", "a"}));
  EXPECT_EQ(splitLyricsText(""), Lines{});
  EXPECT_EQ(splitLyricsText("a\nb"), Lines{"a\nb"});
  EXPECT_EQ(splitLyricsText("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(splitLyricsText("a\rb\r\n"), Lines{"a\rb"});
  // "\r" as the second byte of a character does not start a break.
  const std::string hidden = std::string("x\x81\r\ny");
  EXPECT_EQ(splitLyricsText(hidden), Lines{hidden});
  EXPECT_EQ(splitLyricsText(hidden + "\r\nz"), (Lines{hidden, "z"}));
  // Bytes of 0x80 and above stay untouched.
  const std::string chinese = "第一行\r\n第二行\r\n";
  EXPECT_EQ(splitLyricsText(chinese), (Lines{"第一行", "第二行"}));
}

TEST(TextRules, JoinIsTheInverseOfSplitForEveryLineList) {
  const Lines lines{"a", "", "[00:01.00]中文", ""};
  EXPECT_EQ(joinLyricsText(lines), "a\r\n\r\n[00:01.00]中文\r\n\r\n");
  EXPECT_EQ(splitLyricsText(joinLyricsText(lines)), lines);
  EXPECT_EQ(joinLyricsText({}), "");
}

TEST(TextRules, SmallHelpers) {
  EXPECT_EQ(textUntilZero(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(textUntilZero(std::string("\0ab", 3)), "");
  EXPECT_EQ(textUntilZero("abc"), "abc");
  EXPECT_EQ(asciiLower("A.TXT"), "a.txt");
  EXPECT_EQ(asciiLower("\xC1\x41Z"), "\xC1\x41z");  // the A is the second byte of a character
  EXPECT_EQ(lastBytes("ab", 3), "ab");
  EXPECT_EQ(lastBytes("a.lrc", 3), "lrc");
  EXPECT_EQ(twoDigitField(7), "07");
  EXPECT_EQ(twoDigitField(123), "23");
  EXPECT_EQ(twoDigitField(200), "00");
  EXPECT_EQ(formatReal(500.5), "500.5");
  EXPECT_EQ(formatReal(500), "500");
  EXPECT_EQ(formatReal(3.5), "3.5");
}
