#pragma once
// Small Windows bitmap files written by the tests: 24-bit, uncompressed, bottom-up, with fields
// that a test can then spoil.
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace renderertest {

struct Bgr {
  std::uint8_t blue = 0, green = 0, red = 0;
};

inline void PutU16(std::string& bytes, size_t at, std::uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

inline void PutU32(std::string& bytes, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Field offsets in the file.
inline constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kBitCount = 28,
                        kCompression = 30, kSizeImage = 34, kPixels = 54;

// pixel(x, row) gives row 0 first, which is the bottom row of a bottom-up picture. biSizeImage is
// written as 0 (computed by the reader) unless declareSize.
inline std::string BitmapFile(int width, int height, const std::function<Bgr(int, int)>& pixel,
                              bool declareSize = false) {
  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  const int rows = height < 0 ? -height : height;
  const size_t pixelBytes = rowBytes * static_cast<size_t>(rows);
  std::string bytes(kPixels + pixelBytes, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutU32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  PutU32(bytes, kOffBits, kPixels);
  PutU32(bytes, 14, 40);
  PutU32(bytes, kWidth, static_cast<std::uint32_t>(width));
  PutU32(bytes, kHeight, static_cast<std::uint32_t>(height));
  PutU16(bytes, 26, 1);
  PutU16(bytes, kBitCount, 24);
  PutU32(bytes, kSizeImage, declareSize ? static_cast<std::uint32_t>(pixelBytes) : 0);
  for (int row = 0; row < rows; ++row) {
    for (int x = 0; x < width; ++x) {
      Bgr p = pixel(x, row);
      size_t at = kPixels + static_cast<size_t>(row) * rowBytes + static_cast<size_t>(x) * 3;
      bytes[at] = static_cast<char>(p.blue);
      bytes[at + 1] = static_cast<char>(p.green);
      bytes[at + 2] = static_cast<char>(p.red);
    }
  }
  return bytes;
}

// A soft grey cloud: bright in the middle, fading to black well inside the edges.
inline std::string SoftBlobFile(int size = 256) {
  return BitmapFile(size, size, [size](int x, int y) {
    double dx = (x + 0.5) / size * 2 - 1, dy = (y + 0.5) / size * 2 - 1;
    double fall = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / 0.9);
    auto grey = static_cast<std::uint8_t>(std::lround(255 * fall * fall));
    return Bgr{grey, grey, grey};
  });
}

}  // namespace renderertest
