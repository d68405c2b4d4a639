#pragma once
// A small GL window on a private X server, its context current, for drawing in-process and
// reading the pixels back.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "tests/support/xvfb_server.h"

namespace renderertest {

class GlWindow {
 public:
  GlWindow(int width = 64, int height = 48);
  ~GlWindow();
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  bool Ready() const { return context_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // RGB bytes of the back buffer, bottom row first.
  std::vector<std::uint8_t> BackBuffer() const;
  // Red, green, blue of one back-buffer pixel.
  std::vector<std::uint8_t> PixelAt(int x, int y) const;

 private:
  int width_, height_;
  testsupport::XvfbServer server_;
  Display* display_ = nullptr;
  Window window_ = 0;
  Colormap colormap_ = 0;
  GLXContext context_ = nullptr;
};

}  // namespace renderertest
