#include "platform/base/drives.h"
#include "platform/base/text_cp932.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace {

class Drives : public ::testing::Test {
 protected:
  void SetUp() override { scratch.UseAsHome(); }
  testsupport::ScratchFolder scratch;
};

TEST_F(Drives, MapsZToTheRootAndCToTheUsersOwnFolder) {
  struct Case { const char* windows; std::optional<std::string> linux; };
  std::string c = scratch.DriveC();
  const Case cases[] = {
      {"Z:\\home\\ann\\Music\\song.mp3", "/home/ann/Music/song.mp3"},
      {"z:\\", "/"},
      {"Z:", "/"},
      {"c:\\ostrik\\Lorvane.bmp", c + "/ostrik/Lorvane.bmp"},
      {"C:\\Ostrik\\LORVANE.BMP", c + "/Ostrik/LORVANE.BMP"},
      {"C:song.mp3", c + "/song.mp3"},
      {"C:\\a\\.\\b\\..\\c/d\\\\e", c + "/a/c/d/e"},
      {"C:\\..\\..\\etc\\passwd", c + "/etc/passwd"},
      {"D:\\song.mp3", std::nullopt},
      {"\\\\server\\share\\x", std::nullopt},
      {"song.mp3", std::nullopt},
      {"", std::nullopt},
      {"Z:\\\x83\x5C", "/ソ"},
  };
  for (const Case& k : cases) EXPECT_EQ(platform::LinuxPathOf(k.windows), k.linux) << k.windows;
}

TEST_F(Drives, DriveCIsCreatedPrivate) {
  auto folder = platform::DriveCFolder();
  ASSERT_TRUE(folder);
  EXPECT_EQ(*folder, scratch.DriveC());
  struct stat st {};
  ASSERT_EQ(stat(folder->c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(Drives, LinuxPathsBecomeZPathsOnlyWhenTheCodePageHoldsThem) {
  EXPECT_EQ(platform::WindowsPathOf("/home/ann/.local/lib/lorvane"),
            std::string("Z:\\home\\ann\\.local\\lib\\lorvane"));
  EXPECT_EQ(platform::WindowsPathOf("/"), std::string("Z:\\"));
  EXPECT_EQ(platform::WindowsPathOf("/music/曲/"), platform::Cp932FromUtf8("Z:\\music\\曲"));
  EXPECT_EQ(platform::WindowsPathOf("/music/café.mp3"), std::nullopt);
  EXPECT_EQ(platform::WindowsPathOf("/music/a\\b.mp3"), std::nullopt);
  EXPECT_EQ(platform::WindowsPathOf("relative"), std::nullopt);
}

}  // namespace
