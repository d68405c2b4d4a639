#include "platform/base/program_folder.h"

#include <unistd.h>

#include <vector>

#include "platform/base/drives.h"

namespace platform {

std::optional<std::string> ProgramFolder() {
  std::vector<char> buffer(256);
  while (true) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::nullopt;
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string program(buffer.data(), static_cast<size_t>(n));
      size_t slash = program.rfind('/');
      if (slash == std::string::npos) return std::nullopt;
      return WindowsPathOf(slash == 0 ? std::string("/") : program.substr(0, slash));
    }
    if (buffer.size() >= 65536) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
