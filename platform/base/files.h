#pragma once
// Files and folders by their Windows path (code page 932). Each call maps the drive first, so a
// missing drive fails like a missing file.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A regular file open for sequential reading; closed when the object goes.
class ReadOnlyFile {
 public:
  // nullopt when the path maps to nothing, is not a regular file, or cannot be opened.
  // Folders, devices and pipes are refused, as the original platform refuses them; opening never
  // blocks.
  static std::optional<ReadOnlyFile> Open(std::string_view windowsPath);

  ReadOnlyFile(ReadOnlyFile&& other) noexcept : fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
  }
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // Reads up to size bytes, fewer only at the end of the file or on an error; returns the count.
  size_t Read(void* buffer, size_t size);
  // Size of the file when it was opened.
  unsigned long long Size() const { return size_; }

 private:
  ReadOnlyFile(int fd, unsigned long long size) : fd_(fd), size_(size) {}
  int fd_ = -1;
  unsigned long long size_ = 0;
};

// Whole contents of a file; nullopt when it cannot be opened or is larger than maxBytes.
std::optional<std::string> ReadWholeFile(std::string_view windowsPath, size_t maxBytes);

// Replaces the file with exactly these bytes, or leaves the old one: the bytes go to a temporary
// file beside it, which is then renamed over it. A link at the path is replaced, never written
// through. An existing file keeps its permission bits; a new one gets 0644 less the umask.
bool ReplaceFile(std::string_view windowsPath, std::string_view bytes);

// Creates one folder (mode 0755 less the umask). False when it exists already or cannot be made.
bool CreateFolder(std::string_view windowsPath);

}  // namespace platform
