#include "platform/base/program_folder.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/base/drives.h"
#include "platform/base/files.h"

namespace {

TEST(ProgramFolder, IsTheRunningProgramsFolderOnDriveZ) {
  auto folder = platform::ProgramFolder();
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->substr(0, 3), "Z:\\");
  EXPECT_NE(folder->back(), '\\');
  std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  EXPECT_TRUE(platform::ReadOnlyFile::Open(*folder + "\\" + self));
}

}  // namespace
