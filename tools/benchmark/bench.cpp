#include "tools/benchmark/bench.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace bench {
namespace {

pid_t Spawn(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
            int keepFd) {
  std::map<std::string, std::string> merged;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (size_t eq = entry.find('='); eq != std::string::npos)
      merged[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [key, value] : env) merged[key] = value;
  std::vector<std::string> envStrings;
  for (const auto& [key, value] : merged) envStrings.push_back(key + "=" + value);
  std::vector<char*> envp, argv;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argCopy = args;
  for (auto& s : argCopy) argv.push_back(s.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (keepFd != 1) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

VirtualDisplay::VirtualDisplay(int width, int height) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  int writeEnd = dup(fds[1]);  // without O_CLOEXEC: Xvfb writes its display number into it
  close(fds[1]);
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(writeEnd), "-screen", "0", screen,
                "-nolisten", "tcp", "-noreset"},
               {}, -1);
  close(writeEnd);
  std::string number;
  double end = Now() + 20;
  while (pid_ > 0 && Now() < end) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) <= 0) break;
    if (c == '\n') {
      name_ = ":" + number;
      break;
    }
    number += c;
  }
  close(fds[0]);
}

VirtualDisplay::~VirtualDisplay() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status;
  waitpid(pid_, &status, 0);
}

ScratchHome::ScratchHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lorvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern;
  std::filesystem::create_directories(path_ + "/run");
  chmod((path_ + "/run").c_str(), 0700);
}

ScratchHome::~ScratchHome() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::map<std::string, std::string> ScratchHome::Environment() const {
  return {{"HOME", path_}, {"XDG_DATA_HOME", path_ + "/share"}, {"XDG_RUNTIME_DIR", path_ + "/run"}};
}

bool ScratchHome::WriteSprite() const {
  constexpr int kSize = 256;
  std::string folder = path_ + "/share/lorvane/drive_c/ostrik";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::string bytes(54 + kSize * kSize * 3, '\0');
  auto put32 = [&bytes](size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<unsigned>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, kSize);
  put32(22, kSize);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      double dx = (x + 0.5) / kSize * 2 - 1, dy = (y + 0.5) / kSize * 2 - 1;
      double fall = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / 0.9);
      char grey = static_cast<char>(std::lround(255 * fall * fall));
      size_t at = 54 + (static_cast<size_t>(y) * kSize + static_cast<size_t>(x)) * 3;
      bytes[at] = bytes[at + 1] = bytes[at + 2] = grey;
    }
  std::ofstream out(folder + "/Lorvane.bmp", std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

Program::Program(const std::string& path, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env) {
  std::vector<std::string> all{path};
  all.insert(all.end(), args.begin(), args.end());
  pid_ = Spawn(all, env, -1);
}

Program::~Program() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status;
  waitpid(pid_, &status, 0);
}

std::optional<Ended> Program::Wait(double seconds) {
  if (pid_ <= 0) return std::nullopt;
  double end = Now() + seconds;
  while (true) {
    int status = 0;
    rusage usage{};
    pid_t done = wait4(pid_, &status, WNOHANG, &usage);
    if (done == pid_) {
      pid_ = -1;
      Ended ended;
      ended.status = status;
      ended.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
      ended.peakKilobytes = usage.ru_maxrss;
      return ended;
    }
    if (Now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void Program::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

double CpuSecondsOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t close = text.rfind(')');
  if (close == std::string::npos) return NAN;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  double ticks = 0;
  // Fields after the name: state is the first; utime and stime are the 12th and 13th.
  for (int i = 1; i <= 13 && fields >> field; ++i)
    if (i >= 12) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string OwnFolder() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

}  // namespace bench
