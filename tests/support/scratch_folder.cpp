#include "tests/support/scratch_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lorvane-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern;
  std::filesystem::create_directories(path_ + "/home/.local/share");
  std::filesystem::create_directories(path_ + "/run");
  chmod((path_ + "/run").c_str(), 0700);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) {
    // Tests make folders unwritable on purpose; give the owner back its rights before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored))
        chmod(it->path().c_str(), 0700);
    }
    std::filesystem::remove_all(path_, ignored);
  }
}

std::map<std::string, std::string> ScratchFolder::HomeEnvironment() const {
  return {{"HOME", path_ + "/home"},
          {"XDG_DATA_HOME", path_ + "/home/.local/share"},
          {"XDG_RUNTIME_DIR", path_ + "/run"}};
}

void ScratchFolder::UseAsHome() const {
  for (const auto& [key, value] : HomeEnvironment()) setenv(key.c_str(), value.c_str(), 1);
}

void ScratchFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path file = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string ScratchFolder::ReadFile(const std::string& relative) const {
  std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace testsupport
