#include "platform/base/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <string>

#include "platform/base/drives.h"

extern char** environ;

namespace platform {
namespace {

// Collects the child's status without blocking; true once it is gone (reaped now or before).
bool ReapIfEnded(pid_t& pid) {
  if (pid <= 0) return true;
  while (true) {
    pid_t r = waitpid(pid, nullptr, WNOHANG);
    if (r == 0) return false;
    if (r < 0 && errno == EINTR) continue;
    // Reaped, or no longer our child (ECHILD): either way there is nothing left to collect.
    pid = -1;
    return true;
  }
}

}  // namespace

std::optional<ChildProgram> ChildProgram::Start(std::string_view windowsPath) {
  auto path = LinuxPathOf(windowsPath);
  if (!path) return std::nullopt;

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return std::nullopt;
  // The child gets none of our descriptors (X connection, audio, signal pipe) but the standard three.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);

  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return std::nullopt;
  }
  // Our signal handling is ours: the program starts with every signal at its default, none blocked.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::string program = *path;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  // glibc reports a failed exec as the result and has then reaped the child itself.
  int result = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0 || pid <= 0) return std::nullopt;
  return ChildProgram(pid);
}

ChildProgram& ChildProgram::operator=(ChildProgram&& other) noexcept {
  if (this != &other) {
    ReapIfEnded(pid_);
    pid_ = other.pid_;
    other.pid_ = -1;
  }
  return *this;
}

ChildProgram::~ChildProgram() { ReapIfEnded(pid_); }

bool ChildProgram::Running() { return !ReapIfEnded(pid_); }

bool ChildProgram::WaitForEnd(std::chrono::milliseconds deadline) {
  auto end = std::chrono::steady_clock::now() + deadline;
  while (!ReapIfEnded(pid_)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    timespec pause{0, 2'000'000};
    nanosleep(&pause, nullptr);
  }
  return true;
}

}  // namespace platform
