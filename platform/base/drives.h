#pragma once
// Windows drive letters on this machine. Z: is the Linux root; C: is the user's own folder
// $XDG_DATA_HOME/lorvane/drive_c (mode 0700); every other drive is missing.
// Windows paths here are in code page 932; Linux paths are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The Linux folder behind C:, created (mode 0700) when missing; nullopt when it cannot be had.
std::optional<std::string> DriveCFolder();

// "C:\ostrik\Lorvane.bmp" -> ".../drive_c/ostrik/Lorvane.bmp". The drive letter ignores case, the
// rest keeps it; "\" and "/" separate; "." and ".." are resolved without leaving the drive.
// nullopt for a missing drive, a path without a drive, or text that is not code page 932.
std::optional<std::string> LinuxPathOf(std::string_view windowsPath);

// An absolute Linux path as a Z:\ path in code page 932; nullopt when the code page cannot hold it.
std::optional<std::string> WindowsPathOf(std::string_view linuxPath);

}  // namespace platform
