#include "tests/renderer/gl_window.h"

namespace renderertest {

GlWindow::GlWindow(int width, int height)
    : width_(width), height_(height), server_(width, height) {
  if (!server_.Running()) return;
  display_ = XOpenDisplay(server_.Display().c_str());
  if (!display_) return;
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
  XVisualInfo* visual = glXChooseVisual(display_, DefaultScreen(display_), attributes);
  if (!visual) return;
  Window root = DefaultRootWindow(display_);
  colormap_ = XCreateColormap(display_, root, visual->visual, AllocNone);
  XSetWindowAttributes wa{};
  wa.colormap = colormap_;
  wa.border_pixel = 0;
  window_ = XCreateWindow(display_, root, 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                          visual->visual, CWColormap | CWBorderPixel, &wa);
  XMapWindow(display_, window_);
  context_ = glXCreateContext(display_, visual, nullptr, True);
  XFree(visual);
  if (context_ && !glXMakeCurrent(display_, window_, context_)) {
    glXDestroyContext(display_, context_);
    context_ = nullptr;
  }
}

GlWindow::~GlWindow() {
  if (!display_) return;
  if (context_) {
    glXMakeCurrent(display_, None, nullptr);
    glXDestroyContext(display_, context_);
  }
  if (window_) XDestroyWindow(display_, window_);
  if (colormap_) XFreeColormap(display_, colormap_);
  XCloseDisplay(display_);
}

std::vector<std::uint8_t> GlWindow::BackBuffer() const {
  std::vector<std::uint8_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<std::uint8_t> GlWindow::PixelAt(int x, int y) const {
  std::vector<std::uint8_t> pixel(3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}

}  // namespace renderertest
