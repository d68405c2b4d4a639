#pragma once
// A scratch folder for one test, removed with everything in it when the object goes. It also
// serves as the home of child programs: HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR (mode 0700).
#include <map>
#include <string>

namespace testsupport {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Linux folder behind drive C: for programs started with HomeEnvironment().
  std::string DriveC() const { return path_ + "/home/.local/share/lorvane/drive_c"; }
  // HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR inside this folder; merge into a child's environment.
  std::map<std::string, std::string> HomeEnvironment() const;
  // Points this process's own HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR here (for in-process tests).
  void UseAsHome() const;

  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace testsupport
