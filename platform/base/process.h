#pragma once
// Starting a program by its path: no shell, not waited for, and reaped so that no zombie stays.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string_view>

namespace platform {

// A program this process started. It runs on by itself; the owner only collects its exit status
// (Running, WaitForEnd, and the destructor, which never waits). Move-only.
class ChildProgram {
 public:
  // Starts the program at the Windows path (code page 932) with no arguments, in this process's
  // environment, with only stdin, stdout and stderr open. nullopt when the path maps to nothing
  // or the program cannot be executed (missing, not executable, not a program).
  static std::optional<ChildProgram> Start(std::string_view windowsPath);

  ChildProgram(ChildProgram&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }
  ChildProgram& operator=(ChildProgram&& other) noexcept;
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  // Reaps the program if it has ended; one still running is left to run on.
  ~ChildProgram();

  // Reaps the program if it has ended. True while it runs.
  bool Running();
  // Waits at most `deadline` for the program to end and reaps it. True when it has ended.
  bool WaitForEnd(std::chrono::milliseconds deadline);
  pid_t Pid() const { return pid_; }

 private:
  explicit ChildProgram(pid_t pid) : pid_(pid) {}
  pid_t pid_ = -1;  // -1 once reaped
};

}  // namespace platform
