#include "tests/support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

XvfbServer::XvfbServer(int width, int height, int depth) : width_(width), height_(height) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  // The write end must survive exec: a dup without O_CLOEXEC.
  int writeEnd = dup(fds[1]);
  close(fds[1]);
  std::string fd = std::to_string(writeEnd);
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" +
                       std::to_string(depth);
  std::vector<std::string> args{"Xvfb", "-displayfd", fd, "-screen", "0", screen,
                                "-nolisten", "tcp", "-noreset", "+extension", "RANDR"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(writeEnd);
  if (rc != 0) {
    close(fds[0]);
    return;
  }
  pid_ = pid;

  // Xvfb writes the display number and a newline once it accepts clients.
  std::string number;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    ssize_t n = read(fds[0], &c, 1);
    if (n <= 0) break;
    if (c == '\n') {
      display_ = ":" + number;
      break;
    }
    number += c;
  }
  close(fds[0]);
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace testsupport
