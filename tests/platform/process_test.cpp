#include "platform/base/process.h"
#include "platform/base/drives.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/poll.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace std::chrono_literals;

class Process : public ::testing::Test {
 protected:
  testsupport::ScratchFolder scratch;
  std::string Z(const std::string& relative) const {
    return *platform::WindowsPathOf(scratch.Path() + "/" + relative);
  }
  void WriteProgram(const std::string& relative, const std::string& text, mode_t mode = 0755) {
    scratch.WriteFile(relative, text);
    chmod((scratch.Path() + "/" + relative).c_str(), mode);
  }
  // The process's state letter ('Z' for a zombie), 0 once it is gone.
  static char State(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : 0;
  }
};

TEST_F(Process, StartsByPathWithNoArgumentsAndDoesNotWait) {
  // A blank in the path: there is no shell to split it. The program reports its arguments and
  // whether a descriptor of ours leaked into it, then waits to be told to end.
  int leak = open("/dev/null", O_RDONLY);  // inheritable on purpose
  ASSERT_GE(leak, 3);
  WriteProgram("my programs/renderer",
               "#!/bin/sh\n"
               "echo \"$#\" > \"$(dirname \"$0\")/arguments\"\n"
               "if [ -e /proc/$$/fd/" + std::to_string(leak) + " ]; then echo yes; else echo no; fi"
               " > \"$(dirname \"$0\")/leaked\"\n"
               "while [ ! -e \"$(dirname \"$0\")/end\" ]; do sleep 0.01; done\n");
  auto child = platform::ChildProgram::Start(Z("my programs/renderer"));
  close(leak);
  ASSERT_TRUE(child);
  pid_t pid = child->Pid();
  EXPECT_TRUE(child->Running());
  ASSERT_TRUE(testsupport::PollUntil([&] { return !scratch.ReadFile("my programs/leaked").empty(); }));
  EXPECT_EQ(scratch.ReadFile("my programs/arguments"), "0\n");
  EXPECT_EQ(scratch.ReadFile("my programs/leaked"), "no\n");

  scratch.WriteFile("my programs/end", "");
  EXPECT_TRUE(child->WaitForEnd(10s));
  EXPECT_FALSE(child->Running());
  EXPECT_EQ(State(pid), 0) << "left as a zombie";
}

TEST_F(Process, AnEndedProgramIsReapedByPollingOrByItsOwner) {
  WriteProgram("quick", "#!/bin/sh\nexit 3\n");
  {
    auto child = platform::ChildProgram::Start(Z("quick"));
    ASSERT_TRUE(child);
    pid_t pid = child->Pid();
    ASSERT_TRUE(testsupport::PollUntil([&] { return !child->Running(); }));
    EXPECT_EQ(State(pid), 0);
  }
  pid_t pid = -1;
  {
    auto child = platform::ChildProgram::Start(Z("quick"));
    ASSERT_TRUE(child);
    pid = child->Pid();
    // Ended but not yet collected: its owner going away collects it.
    ASSERT_TRUE(testsupport::PollUntil([&] { return State(pid) == 'Z'; }));
  }
  EXPECT_EQ(State(pid), 0);
}

TEST_F(Process, WhatCannotBeRunIsRefusedAndLeavesNoProcess) {
  WriteProgram("not executable", "#!/bin/sh\nexit 0\n", 0644);
  WriteProgram("no program", "just text, no interpreter line\n", 0755);
  std::filesystem::create_directories(scratch.Path() + "/folder");
  for (const std::string& path : {Z("missing"), Z("not executable"), Z("no program"), Z("folder"),
                                 std::string("Q:\\renderer")}) {
    EXPECT_FALSE(platform::ChildProgram::Start(path)) << path;
  }
}

}  // namespace
