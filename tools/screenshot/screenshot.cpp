#include "tools/screenshot/screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>


namespace screenshot {

QImage Screenshot(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!display || !XGetWindowAttributes(display, window, &attributes)) return {};
  XImage* ximage = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                             static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!ximage) return {};
  QImage image(attributes.width, attributes.height, QImage::Format_RGB32);
  for (int y = 0; y < attributes.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < attributes.width; ++x) {
      unsigned long pixel = XGetPixel(ximage, x, y);
      row[x] = qRgb(static_cast<int>((pixel & ximage->red_mask) >> 16),
                    static_cast<int>((pixel & ximage->green_mask) >> 8),
                    static_cast<int>(pixel & ximage->blue_mask));
    }
  }
  XDestroyImage(ximage);
  return image;
}

bool SavePng(const QImage& image, const std::string& path) {
  return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

}  // namespace screenshot
