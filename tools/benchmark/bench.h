#pragma once
// Timing helpers shared by the benchmark's measurements: a private X server, child programs with
// their CPU time and peak memory, a scratch home, medians.
#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// Seconds on the monotonic clock.
double Now();
double Median(std::vector<double> values);

// Xvfb on a free display, stopped and reaped when the object goes.
class VirtualDisplay {
 public:
  VirtualDisplay(int width, int height);
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  bool Running() const { return !name_.empty(); }
  const std::string& Name() const { return name_; }  // ":N"
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// A folder that serves as HOME and XDG_DATA_HOME of the programs measured, removed at the end.
class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;
  std::map<std::string, std::string> Environment() const;
  // Writes a soft grey 256 × 256 sprite where the renderer reads its texture.
  bool WriteSprite() const;

 private:
  std::string path_;
};

struct Ended {
  int status = 0;
  double cpuSeconds = 0;  // user + system of the whole run
  long peakKilobytes = 0;  // maximum resident set
};

// A program started with extra environment; killed and reaped when the object goes.
class Program {
 public:
  Program(const std::string& path, const std::vector<std::string>& args,
          const std::map<std::string, std::string>& env);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // Waits up to the deadline; nullopt while it still runs.
  std::optional<Ended> Wait(double seconds);
  void Signal(int signal);

 private:
  pid_t pid_ = -1;
};

// User + system seconds a running process has used so far (10 ms steps).
double CpuSecondsOf(pid_t pid);

// The folder that holds this program, to find its sibling programs.
std::string OwnFolder();

}  // namespace bench
