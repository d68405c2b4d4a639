// lorvane-screenshot DISPLAY OUTPUT.png [WINDOW-ID]: saves the screen (or one window) as PNG.
#include <cstdio>
#include <cstdlib>

#include "tools/screenshot/screenshot.h"

#include <X11/Xlib.h>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DISPLAY OUTPUT.png [WINDOW-ID]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(argv[1]);
  if (!display) {
    std::fprintf(stderr, "cannot open display %s\n", argv[1]);
    return 1;
  }
  Window window = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : DefaultRootWindow(display);
  bool ok = screenshot::SavePng(screenshot::Screenshot(display, window), argv[2]);
  XCloseDisplay(display);
  return ok ? 0 : 1;
}
