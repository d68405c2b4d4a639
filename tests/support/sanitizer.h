#pragma once
// The leak checker of the sanitizer build, told about the system libraries' own leaks.
#include <map>
#include <string>

namespace testsupport {

// Environment for child programs (merge into ChildProcess's env); without effect in other builds.
inline std::map<std::string, std::string> SanitizerEnvironment() {
  return {{"LSAN_OPTIONS",
           "suppressions=" LORVANE_SOURCE_DIR "/tests/support/lsan_suppressions.txt"}};
}

}  // namespace testsupport
