#pragma once
// A program started by a test: its own environment, stdout/stderr to a file, killed and reaped
// when the object goes (PID 1 here does not reap orphans).
#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class ChildProcess {
 public:
  // Starts program with args; env entries are added to (or replace those of) this process's
  // environment; an empty value removes the variable. Output goes to outputFile if given.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {},
               const std::string& outputFile = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // Exit code once it has ended within the deadline (-1 for a death by signal); nullopt if not.
  std::optional<int> WaitForExit(std::chrono::milliseconds deadline);
  bool Running();
  void Signal(int signal);
  // Status word of waitpid once ended.
  int RawStatus() const { return status_; }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = 0;
};

}  // namespace testsupport
