#include "platform/qt/picture_file.h"

#include <cstdint>
#include <limits>
#include <string_view>

#include "platform/base/files.h"
#include "platform/qt/text.h"

namespace platform {
namespace {

void PutU16(QByteArray& out, uint16_t v) {
  out.append(static_cast<char>(v & 0xff));
  out.append(static_cast<char>(v >> 8));
}

void PutU32(QByteArray& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((v >> shift) & 0xff));
}

}  // namespace

QByteArray BitmapFileOf(const QImage& picture) {
  if (picture.isNull()) return {};
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  const uint64_t width = static_cast<uint64_t>(rgb.width());
  const uint64_t height = static_cast<uint64_t>(rgb.height());
  const uint64_t rowBytes = (24 * width + 31) / 32 * 4;
  const uint64_t imageBytes = rowBytes * height;
  constexpr uint32_t kHeaders = 14 + 40;
  if (imageBytes + kHeaders > std::numeric_limits<int32_t>::max()) return {};

  QByteArray out;
  out.reserve(static_cast<qsizetype>(kHeaders + imageBytes));
  out.append("BM", 2);
  PutU32(out, static_cast<uint32_t>(kHeaders + imageBytes));  // bfSize
  PutU16(out, 0);                                             // bfReserved1
  PutU16(out, 0);                                             // bfReserved2
  PutU32(out, kHeaders);                                      // bfOffBits
  PutU32(out, 40);                                            // biSize
  PutU32(out, static_cast<uint32_t>(width));                  // biWidth
  PutU32(out, static_cast<uint32_t>(height));                 // biHeight, positive: bottom-up
  PutU16(out, 1);                                             // biPlanes
  PutU16(out, 24);                                            // biBitCount
  PutU32(out, 0);                                             // biCompression: none
  PutU32(out, static_cast<uint32_t>(imageBytes));             // biSizeImage
  PutU32(out, 0);                                             // biXPelsPerMeter
  PutU32(out, 0);                                             // biYPelsPerMeter
  PutU32(out, 0);                                             // biClrUsed
  PutU32(out, 0);                                             // biClrImportant

  const qsizetype padding = static_cast<qsizetype>(rowBytes - 3 * width);
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const uchar* line = rgb.constScanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      const uchar* pixel = line + 3 * x;  // red, green, blue
      out.append(static_cast<char>(pixel[2]));
      out.append(static_cast<char>(pixel[1]));
      out.append(static_cast<char>(pixel[0]));
    }
    out.append(padding, '\0');
  }
  return out;
}

bool SavePicture(const QImage& picture, const QString& windowsPath) {
  const QByteArray bytes = BitmapFileOf(picture);
  const auto path = ToAnsi(windowsPath);
  if (bytes.isEmpty() || !path) return false;
  return ReplaceFile(std::string_view(path->constData(), static_cast<size_t>(path->size())),
                     std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace platform
