#include "renderer/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "platform/base/files.h"

namespace renderer {
namespace {

constexpr std::uint16_t kBitmapSignature = 0x4D42;  // "BM"
constexpr size_t kFileHeaderSize = 14;
// The header block must reach past biSizeImage: width, height, bit count, compression, size.
constexpr std::uint32_t kLeastPixelOffset = 38;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t I32(const unsigned char* p) { return static_cast<std::int32_t>(U32(p)); }

// GL_BGR is core from GL 1.2 on and an extension before.
bool HasBgr() {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (!version) return true;  // no context: nothing is uploaded anyway
  int major = 0, minor = 0;
  if (std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || minor >= 2)) return true;
  const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, "GL_EXT_bgra");
}

std::unique_ptr<unsigned char[]> Allocate(size_t size) {
  return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[std::max<size_t>(size, 1)]);
}

}  // namespace

void Texture::Release() {
  if (namePlusOne_ != 0) {
    GLuint name = namePlusOne_ - 1;
    glDeleteTextures(1, &name);
    namePlusOne_ = 0;
  }
}

bool Texture::Create(std::string_view path) {
  Release();
  // The field keeps what fits, always NUL-terminated.
  size_t length = std::min(path.size(), sizeof fileName_ - 1);
  std::memcpy(fileName_, path.data(), length);
  fileName_[length] = '\0';
  GLuint name = 0;
  glGenTextures(1, &name);
  namePlusOne_ = name + 1;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  return true;
}

void Texture::Bind() const { glBindTexture(GL_TEXTURE_2D, namePlusOne_ - 1); }

bool Texture::LoadBmp(std::string_view path) {
  Create(path);
  std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(path);
  if (!file) return false;
  const unsigned long long fileSize = file->Size();

  unsigned char fileHeader[kFileHeaderSize];
  if (file->Read(fileHeader, sizeof fileHeader) < sizeof fileHeader) return false;
  if (U16(fileHeader) != kBitmapSignature) return false;
  const std::uint32_t pixelOffset = U32(fileHeader + 10);
  if (pixelOffset < kLeastPixelOffset || pixelOffset > fileSize) return false;

  // Information header plus any colour table, read as one block.
  const size_t blockSize = pixelOffset - kFileHeaderSize;
  auto block = Allocate(blockSize);
  if (!block || file->Read(block.get(), blockSize) < blockSize) return false;
  width_ = I32(block.get() + 4);
  height_ = I32(block.get() + 8);
  const std::uint16_t bitCount = U16(block.get() + 14);
  const std::uint32_t compression = U32(block.get() + 16);
  const std::uint32_t sizeImage = U32(block.get() + 20);
  // The upload takes the data as plain 24-bit rows; anything else is not this kind of file.
  if (bitCount != 24 || compression != 0 || width_ < 0) return false;

  // Rows of blue, green, red bytes, each filled to a multiple of 4 bytes. Fits in 64 bits for
  // any 32-bit width and height.
  const unsigned long long absHeight =
      height_ < 0 ? 0ull - static_cast<unsigned long long>(static_cast<long long>(height_))
                  : static_cast<unsigned long long>(height_);
  const unsigned long long rowBytes = (24ull * static_cast<unsigned long long>(width_) + 31) / 32 * 4;
  const unsigned long long rowsBytes = absHeight * rowBytes;
  const unsigned long long pixelBytes = sizeImage != 0 ? sizeImage : rowsBytes;
  // The upload reads every row; a declared size too small for them is refused, and one larger
  // than the rest of the file is a short read, found before allocating.
  if (rowsBytes > pixelBytes || pixelBytes > fileSize - pixelOffset) return false;
  auto pixels = Allocate(static_cast<size_t>(pixelBytes));
  if (!pixels || file->Read(pixels.get(), pixelBytes) < pixelBytes) return false;
  file.reset();
  block.reset();

  GLenum format = GL_BGR;
  if (!HasBgr()) {
    for (unsigned long long row = 0; row < absHeight; ++row) {
      unsigned char* p = pixels.get() + row * rowBytes;
      for (std::int32_t x = 0; x < width_; ++x, p += 3) std::swap(p[0], p[2]);
    }
    format = GL_RGB;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  // GLU scales sides that are not powers of two and refuses a negative height (top-down rows).
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width_, height_, format, GL_UNSIGNED_BYTE, pixels.get());
  return true;
}

}  // namespace renderer
