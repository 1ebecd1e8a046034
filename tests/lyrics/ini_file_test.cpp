#include "lyrics/ini_file.h"

#include <gtest/gtest.h>

using namespace lyrics;

TEST(IniFile, NewFileGetsTheStandardLayout) {
  IniFile ini;
  EXPECT_FALSE(ini.value("GEXINGQIANMING", "PEIZHI"));
  ini.setValue("GEXINGQIANMING", "PEIZHI", "abc");
  EXPECT_EQ(ini.bytes(), "[GEXINGQIANMING]\r\nPEIZHI=abc\r\n");
  ini.setValue("GEXINGQIANMING", "PEIZHI", "");
  EXPECT_EQ(ini.bytes(), "[GEXINGQIANMING]\r\nPEIZHI=\r\n");
  EXPECT_EQ(ini.value("GEXINGQIANMING", "PEIZHI"), "");
}

TEST(IniFile, OtherSectionsAndKeysKeepEveryByte) {
  const std::string before =
      "; note\n[other]\r\nPEIZHI=not this\r\n\r\n[gexingqianming]\r\n  peizhi = old value \r\n"
      "keep=1\r\n\r\n[last]\nx=y";
  IniFile ini(before);
  EXPECT_EQ(ini.value("GEXINGQIANMING", "PEIZHI"), " old value ");
  EXPECT_EQ(ini.value("other", "peizhi"), "not this");
  EXPECT_EQ(ini.value("last", "x"), "y");
  EXPECT_FALSE(ini.value("last", "PEIZHI"));
  EXPECT_EQ(IniFile(before).bytes(), before);

  ini.setValue("GEXINGQIANMING", "PEIZHI", "new");
  EXPECT_EQ(ini.bytes(),
            "; note\n[other]\r\nPEIZHI=not this\r\n\r\n[gexingqianming]\r\nPEIZHI=new\r\n"
            "keep=1\r\n\r\n[last]\nx=y");

  ini.setValue("other", "added", "2");
  ini.setValue("last", "z", "3");
  ini.setValue("fresh", "k", "v");
  EXPECT_EQ(
      ini.bytes(),
      "; note\n[other]\r\nPEIZHI=not this\r\nadded=2\r\n\r\n[gexingqianming]\r\nPEIZHI=new\r\n"
      "keep=1\r\n\r\n[last]\nx=y\r\nz=3\r\n[fresh]\r\nk=v\r\n");
}

TEST(IniFile, DoubleByteValuesAndCommentedKeys) {
  // "\xB0]" is one character: its "]" does not close the section name.
  IniFile ini("[s\xB0]x]\r\n;k=commented\r\nk=\xC7\xE0\xBA\xCC=\r\n");
  EXPECT_EQ(ini.value("s\xB0]x", "k"), "\xC7\xE0\xBA\xCC=");
  EXPECT_FALSE(ini.value("s\xB0", "k"));
}

TEST(IniFile, EveryLineBreakEndsALineAndAValueSurvivesRewrites) {
  struct Case {
    const char* what;
    std::string bytes;
    // The stored value before any change; nullptr when the key is missing.
    const char* value;
    // The file after the value is set to "new".
    std::string rewritten;
  };
  const Case cases[] = {
      {"lone CR", "[GEXINGQIANMING]\rPEIZHI=old\r", "old", "[GEXINGQIANMING]\rPEIZHI=new\r"},
      {"lone CR, section after another", "[a]\rk=1\r[GEXINGQIANMING]\rPEIZHI=old\r[b]\rk=2", "old",
       "[a]\rk=1\r[GEXINGQIANMING]\rPEIZHI=new\r[b]\rk=2"},
      {"lone CR, section missing", "[a]\rk=1\r", nullptr,
       "[a]\rk=1\r[GEXINGQIANMING]\rPEIZHI=new\r"},
      {"lone CR, no break at the end", "[a]\rk=1", nullptr,
       "[a]\rk=1\r[GEXINGQIANMING]\rPEIZHI=new\r"},
      {"lone CR, key missing", "[GEXINGQIANMING]\rother=1\r\r[b]\r", nullptr,
       "[GEXINGQIANMING]\rother=1\rPEIZHI=new\r\r[b]\r"},
      {"LF", "[GEXINGQIANMING]\nPEIZHI=old\n", "old", "[GEXINGQIANMING]\nPEIZHI=new\n"},
      {"LF, section missing", "[a]\nk=1\n", nullptr, "[a]\nk=1\n[GEXINGQIANMING]\nPEIZHI=new\n"},
      {"CR LF", "[GEXINGQIANMING]\r\nPEIZHI=old\r\n", "old", "[GEXINGQIANMING]\r\nPEIZHI=new\r\n"},
      {"CR before CR LF", "[GEXINGQIANMING]\r\r\nPEIZHI=old\r\r\n", "old",
       "[GEXINGQIANMING]\r\r\nPEIZHI=new\r\r\n"},
      {"mixed, lone CR after LF", "[a]\nk=1\r[GEXINGQIANMING]\r\nPEIZHI=old\r", "old",
       "[a]\nk=1\r[GEXINGQIANMING]\r\nPEIZHI=new\r"},
      {"empty file", "", nullptr, "[GEXINGQIANMING]\r\nPEIZHI=new\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const IniFile read(c.bytes);
    EXPECT_EQ(read.bytes(), c.bytes);
    if (c.value) {
      EXPECT_EQ(read.value("GEXINGQIANMING", "PEIZHI"), c.value);
    } else {
      EXPECT_FALSE(read.value("GEXINGQIANMING", "PEIZHI"));
    }
    IniFile ini(c.bytes);
    ini.setValue("GEXINGQIANMING", "PEIZHI", "new");
    EXPECT_EQ(ini.bytes(), c.rewritten);
    // Read back, and once more after a second rewrite of the file that first rewrite made.
    IniFile again(ini.bytes());
    EXPECT_EQ(again.value("GEXINGQIANMING", "PEIZHI"), "new");
    again.setValue("GEXINGQIANMING", "PEIZHI", "newer");
    EXPECT_EQ(IniFile(again.bytes()).value("GEXINGQIANMING", "PEIZHI"), "newer");
    // Keys of other sections are never glued to a neighbouring line.
    if (c.bytes.find("[a]") != std::string::npos) {
      EXPECT_EQ(IniFile(again.bytes()).value("a", "k"), "1");
    }
  }
}
