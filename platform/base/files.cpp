#include "platform/base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/base/drives.h"

namespace platform {

std::optional<ReadOnlyFile> ReadOnlyFile::Open(std::string_view windowsPath) {
  auto path = LinuxPathOf(windowsPath);
  if (!path) return std::nullopt;
  // O_NONBLOCK so that a FIFO cannot hold the open; only regular files are kept.
  int fd = open(path->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return ReadOnlyFile(fd, static_cast<unsigned long long>(st.st_size));
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    size_ = other.size_;
    other.fd_ = -1;
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) close(fd_);
}

size_t ReadOnlyFile::Read(void* buffer, size_t size) {
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < size) {
    ssize_t n = read(fd_, out + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

std::optional<std::string> ReadWholeFile(std::string_view windowsPath, size_t maxBytes) {
  auto file = ReadOnlyFile::Open(windowsPath);
  if (!file || file->Size() > maxBytes) return std::nullopt;
  std::string bytes(static_cast<size_t>(file->Size()), '\0');
  bytes.resize(file->Read(bytes.data(), bytes.size()));
  return bytes;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool ReplaceFile(std::string_view windowsPath, std::string_view bytes) {
  auto path = LinuxPathOf(windowsPath);
  if (!path) return false;
  struct stat old {};
  bool existed = lstat(path->c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) return false;

  std::string temp = *path + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  mode_t mode;
  if (existed && S_ISREG(old.st_mode)) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0644 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), path->c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool CreateFolder(std::string_view windowsPath) {
  auto path = LinuxPathOf(windowsPath);
  return path && mkdir(path->c_str(), 0755) == 0;
}

}  // namespace platform
