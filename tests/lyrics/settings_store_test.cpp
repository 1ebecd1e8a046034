#include "lyrics/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

using lyrics::SettingsStore;

TEST(SettingsStore, ValuesOfSeveralKeysAndFilesLiveSideBySide) {
  testsupport::TempDir dir;
  SettingsStore font(dir.path().string(), "font.ini");
  SettingsStore other(dir.path().string() + "/", "other.ini");
  EXPECT_EQ(font.filePath(), dir.file("font.ini"));
  EXPECT_EQ(other.filePath(), dir.file("other.ini"));
  EXPECT_FALSE(font.exists());
  EXPECT_EQ(font.value("FONT", "NAME"), std::nullopt);

  ASSERT_TRUE(font.setValue("FONT", "NAME", "\xCB\xCE\xCC\xE5"));  // a GBK face name
  ASSERT_TRUE(font.setValue("FONT", "SIZE", "14"));
  ASSERT_TRUE(other.setValue("FONT", "SIZE", "9"));
  EXPECT_EQ(font.value("FONT", "NAME"), "\xCB\xCE\xCC\xE5");
  EXPECT_EQ(font.value("font", "size"), "14");
  EXPECT_EQ(other.value("FONT", "SIZE"), "9");
  EXPECT_EQ(font.value("FONT", "COLOUR"), std::nullopt);
  EXPECT_EQ(dir.read("font.ini"), "[FONT]\r\nNAME=\xCB\xCE\xCC\xE5\r\nSIZE=14\r\n");
}

TEST(SettingsStore, AFileThatCannotBeReadOrWrittenIsLeftAlone) {
  testsupport::TempDir dir;
  // A folder where the file should be cannot be read; it must not be replaced.
  std::filesystem::create_directory(dir.path() / "taken.ini");
  SettingsStore taken(dir.path().string(), "taken.ini");
  EXPECT_FALSE(taken.setValue("A", "B", "c"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken.ini"));

  SettingsStore nowhere(dir.file("missing-folder"), "x.ini");
  EXPECT_FALSE(nowhere.setValue("A", "B", "c"));
  EXPECT_EQ(nowhere.value("A", "B"), std::nullopt);
}

TEST(SettingsStore, AReadEndsAtTheFirstZeroByteAndAWriteKeepsTheBytesBehindIt) {
  testsupport::TempDir dir;
  const std::string tail("\0[S]\r\nh=hidden\r\n", 16);
  dir.write("a.ini", "[S]\nk=old\nj=2\n" + tail);
  SettingsStore store(dir.path().string(), "a.ini");
  EXPECT_EQ(store.value("S", "j"), "2");
  EXPECT_EQ(store.value("S", "h"), std::nullopt);
  ASSERT_TRUE(store.setValue("S", "k", "new"));
  EXPECT_EQ(dir.read("a.ini"), "[S]\nk=new\nj=2\n" + tail);
  EXPECT_EQ(store.value("S", "k"), "new");
}
