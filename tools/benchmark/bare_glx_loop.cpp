// lorvane-bare-glx [FRAMES]: the burst's twelve quads in the barest GLX loop, for comparison with
// the renderer: a window as large as the screen, no event handling, no cursor, no window manager
// hints; clock, DrawScene, swap, again. Draws FRAMES frames and ends, or runs until killed.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdlib>

#include "platform/base/counter.h"
#include "renderer/burst.h"
#include "renderer/frame_clock.h"

int main(int argc, char** argv) {
  const long limit = argc > 1 ? std::atol(argv[1]) : -1;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (!visual) return 1;
  const Window root = RootWindow(display, screen);
  XSetWindowAttributes wa{};
  wa.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  wa.border_pixel = 0;
  wa.background_pixmap = None;
  const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
  Window window = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width),
                                static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                                visual->visual, CWColormap | CWBorderPixel | CWBackPixmap, &wa);
  XMapWindow(display, window);
  GLXContext context = glXCreateContext(display, visual, nullptr, True);
  XFree(visual);
  if (!context || !glXMakeCurrent(display, window, context)) return 1;

  renderer::ClientWidth = width;
  renderer::ClientHeight = height;
  renderer::FrameClock clock;
  clock.Start(platform::kPerformanceFrequency, platform::PerformanceCount());
  renderer::InitScene();
  for (long frame = 0; limit < 0 || frame < limit; ++frame) {
    renderer::dt = clock.Advance(platform::PerformanceCount());
    renderer::DrawScene();
    glXSwapBuffers(display, window);
  }
  glXMakeCurrent(display, None, nullptr);
  glXDestroyContext(display, context);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
