#pragma once
// The folder that holds the running program, as a Windows path.
#include <optional>
#include <string>

namespace platform {

// "Z:\home\ann\.local\lib\lorvane" (code page 932): no trailing backslash, except "Z:\" for the
// root. nullopt when the folder cannot be found or the code page cannot hold its path.
std::optional<std::string> ProgramFolder();

}  // namespace platform
