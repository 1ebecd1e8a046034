#include "lyrics/settings_store.h"

#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "support/temp_dir.h"

TEST(SettingsStore, ProfilesAreReadUpToAZeroAndRewrittenWithEveryOtherByte) {
  testsupport::TempDir dir;
  const lyrics::SettingsStore store(platform::gbkPath(dir.path().string()));
  EXPECT_FALSE(store.read("a.ini"));
  ASSERT_TRUE(store.write("a.ini", "S", "k", "v"));
  EXPECT_EQ(dir.read("a.ini"), "[S]\r\nk=v\r\n");

  // A read ends at the first zero byte, as the profile functions read; a write keeps the
  // bytes behind it.
  const std::string tail("\0[S]\r\nk=hidden\r\n", 16);
  dir.write("a.ini", "[S]\nk=old\nj=2\n" + tail);
  const auto profile = store.read("a.ini");
  ASSERT_TRUE(profile);
  EXPECT_EQ(profile->bytes(), "[S]\nk=old\nj=2\n");
  ASSERT_TRUE(store.write("a.ini", "S", "k", "new"));
  EXPECT_EQ(dir.read("a.ini"), "[S]\nk=new\nj=2\n" + tail);
}
