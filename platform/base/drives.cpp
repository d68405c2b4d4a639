#include "platform/base/drives.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/base/text_cp932.h"

namespace platform {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

std::string DataHome() {
  // A relative XDG_DATA_HOME is to be ignored.
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return data;
  std::string home = HomeFolder();
  return home.empty() ? std::string{} : home + "/.local/share";
}

// mkdir -p with the given mode for the folders it makes; true when path is then a folder.
bool MakeFolders(const std::string& path, mode_t mode) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::optional<std::string> DriveCFolder() {
  std::string data = DataHome();
  if (data.empty()) return std::nullopt;
  std::string folder = data + "/lorvane/drive_c";
  if (!MakeFolders(folder, 0700)) return std::nullopt;
  // The drive must be the user's own folder, not a link planted to somewhere else.
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
    return std::nullopt;
  return folder;
}

std::optional<std::string> LinuxPathOf(std::string_view windowsPath) {
  auto utf8 = Utf8FromCp932(windowsPath);
  if (!utf8 || utf8->size() < 2 || (*utf8)[1] != ':') return std::nullopt;
  char drive = (*utf8)[0];
  if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');

  std::vector<std::string_view> parts;
  std::string_view rest = std::string_view(*utf8).substr(2);
  while (!rest.empty()) {
    size_t end = rest.find_first_of("\\/");
    std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }

  std::string root;
  if (drive == 'Z') {
    root = "";
  } else if (drive == 'C') {
    auto c = DriveCFolder();
    if (!c) return std::nullopt;
    root = *c;
  } else {
    return std::nullopt;
  }
  std::string path = root;
  for (std::string_view part : parts) {
    path += '/';
    path += part;
  }
  return path.empty() ? std::string("/") : path;
}

std::optional<std::string> WindowsPathOf(std::string_view linuxPath) {
  if (linuxPath.empty() || linuxPath[0] != '/') return std::nullopt;
  // A Linux name may hold a backslash; as a Windows path it would name another file.
  if (linuxPath.find('\\') != std::string_view::npos) return std::nullopt;
  std::string windows = "Z:";
  for (char c : linuxPath) windows += c == '/' ? '\\' : c;
  // "/" alone is the root of the drive, "Z:\"; otherwise no trailing backslash.
  if (windows.size() > 3 && windows.back() == '\\') windows.pop_back();
  return Cp932FromUtf8(windows);
}

}  // namespace platform
