#include "lyrics/settings_store.h"

#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "support/temp_dir.h"

using lyrics::SettingsStore;

TEST(SettingsStore, ProfilesAreReadUpToAZeroAndRewrittenWithEveryOtherByte) {
  testsupport::TempDir dir;
  const SettingsStore store(platform::gbkPath(dir.path().string()));
  EXPECT_EQ(store.pathOf("a.ini"), platform::gbkPath(dir.file("a.ini")));
  EXPECT_FALSE(store.read("a.ini"));

  // A missing profile is created; a second one in the same folder is a file of its own.
  ASSERT_TRUE(store.write("a.ini", "S", "k", "v"));
  ASSERT_TRUE(store.write("b.ini", "T", "x", "1"));
  EXPECT_EQ(dir.read("a.ini"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(dir.read("b.ini"), "[T]\r\nx=1\r\n");

  // A read ends at the first zero byte, as the profile functions read; a write keeps the
  // bytes behind it.
  const std::string tail("\0[S]\r\nk=hidden\r\n", 16);
  dir.write("a.ini", "[S]\nk=old\nj=2\n" + tail);
  const auto profile = store.read("a.ini");
  ASSERT_TRUE(profile);
  EXPECT_EQ(profile->value("S", "k"), "old");
  EXPECT_EQ(profile->bytes(), "[S]\nk=old\nj=2\n");
  ASSERT_TRUE(store.write("a.ini", "S", "k", "new"));
  EXPECT_EQ(dir.read("a.ini"), "[S]\nk=new\nj=2\n" + tail);

  // A profile that exists without the key reads as a profile, not as a missing one.
  dir.write("c.ini", "");
  ASSERT_TRUE(store.read("c.ini"));
  EXPECT_FALSE(store.read("c.ini")->value("S", "k"));

  // A folder that is not there takes nothing.
  const SettingsStore nowhere(platform::gbkPath(dir.file("missing")));
  EXPECT_FALSE(nowhere.write("a.ini", "S", "k", "v"));
  EXPECT_FALSE(nowhere.read("a.ini"));
}
