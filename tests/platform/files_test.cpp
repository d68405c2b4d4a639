#include "platform/base/files.h"
#include "platform/base/drives.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override { scratch.UseAsHome(); }
  testsupport::ScratchFolder scratch;
  std::string Z(const std::string& relative) const {
    return *platform::WindowsPathOf(scratch.Path() + "/" + relative);
  }
};

TEST_F(Files, ReadsRegularFilesOnly) {
  scratch.WriteFile("a.bin", std::string("abc\0def", 7));
  auto file = platform::ReadOnlyFile::Open(Z("a.bin"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Size(), 7u);
  char buffer[16];
  EXPECT_EQ(file->Read(buffer, 3), 3u);
  EXPECT_EQ(file->Read(buffer, 16), 4u);
  EXPECT_EQ(file->Read(buffer, 16), 0u);

  ASSERT_EQ(mkfifo((scratch.Path() + "/fifo").c_str(), 0600), 0);
  EXPECT_FALSE(platform::ReadOnlyFile::Open(Z("fifo")));  // and does not block
  EXPECT_FALSE(platform::ReadOnlyFile::Open(Z("")));       // a folder
  EXPECT_FALSE(platform::ReadOnlyFile::Open(Z("missing")));
  EXPECT_FALSE(platform::ReadOnlyFile::Open("Q:\\a.bin"));
}

TEST_F(Files, ReplaceWritesWholeFilesAndKeepsTheMode) {
  ASSERT_TRUE(platform::ReplaceFile(Z("s.ini"), "one"));
  EXPECT_EQ(scratch.ReadFile("s.ini"), "one");
  chmod((scratch.Path() + "/s.ini").c_str(), 0600);
  ASSERT_TRUE(platform::ReplaceFile(Z("s.ini"), "two"));
  EXPECT_EQ(scratch.ReadFile("s.ini"), "two");
  struct stat st {};
  stat((scratch.Path() + "/s.ini").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(platform::ReadWholeFile(Z("s.ini"), 100), std::string("two"));
  EXPECT_EQ(platform::ReadWholeFile(Z("s.ini"), 2), std::nullopt);
}

TEST_F(Files, ReplaceNeverWritesThroughALink) {
  scratch.WriteFile("victim", "precious");
  ASSERT_EQ(symlink((scratch.Path() + "/victim").c_str(), (scratch.Path() + "/link").c_str()), 0);
  ASSERT_TRUE(platform::ReplaceFile(Z("link"), "new"));
  EXPECT_EQ(scratch.ReadFile("victim"), "precious");
  EXPECT_EQ(scratch.ReadFile("link"), "new");
}

TEST_F(Files, AFailedReplaceLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  scratch.WriteFile("ro/s.ini", "old");
  chmod((scratch.Path() + "/ro").c_str(), 0500);
  EXPECT_FALSE(platform::ReplaceFile(Z("ro/s.ini"), "new"));
  EXPECT_EQ(scratch.ReadFile("ro/s.ini"), "old");
}

TEST_F(Files, CreateFolderFailsWhenItExists) {
  EXPECT_TRUE(platform::CreateFolder("C:\\ostrik"));
  EXPECT_FALSE(platform::CreateFolder("C:\\ostrik"));
  EXPECT_FALSE(platform::CreateFolder("Q:\\ostrik"));
  struct stat st {};
  EXPECT_EQ(stat((scratch.DriveC() + "/ostrik").c_str(), &st), 0);
}

}  // namespace
