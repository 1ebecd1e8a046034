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
