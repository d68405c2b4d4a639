#include "platform/x11/window_parent.h"

#include <X11/Xlib.h>

namespace platform {
namespace {

// Requests on windows of another process fail whenever that window goes. Xlib's default error
// handler would end the program; while a guard lives, errors are only counted. The handler is
// process-wide, so the previous one is put back afterwards.
int errorCount = 0;

int CountError(Display*, XErrorEvent*) {
  ++errorCount;
  return 0;
}

class ErrorGuard {
 public:
  explicit ErrorGuard(Display* display) : display_(display) {
    XSync(display_, False);
    errorCount = 0;
    previous_ = XSetErrorHandler(CountError);
  }
  ~ErrorGuard() { XSetErrorHandler(previous_); }
  ErrorGuard(const ErrorGuard&) = delete;
  ErrorGuard& operator=(const ErrorGuard&) = delete;
  // Waits for the server to answer everything sent so far; true when none of it failed.
  bool Clean() {
    XSync(display_, False);
    return errorCount == 0;
  }

 private:
  Display* display_;
  XErrorHandler previous_;
};

}  // namespace

std::optional<WindowExtent> WindowExtentOf(Display* display, uint32_t window) {
  if (!display || window == 0) return std::nullopt;
  ErrorGuard guard(display);
  XWindowAttributes attributes{};
  Status ok = XGetWindowAttributes(display, window, &attributes);
  if (!guard.Clean() || !ok) return std::nullopt;
  return WindowExtent{attributes.width, attributes.height};
}

bool ReparentWindow(Display* display, uint32_t child, uint32_t parent, int x, int y) {
  if (!display || child == 0 || parent == 0) return false;
  ErrorGuard guard(display);
  XReparentWindow(display, child, parent, x, y);
  if (!guard.Clean()) return false;
  Window root = 0, actualParent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Status ok = XQueryTree(display, child, &root, &actualParent, &children, &count);
  if (children) XFree(children);
  return guard.Clean() && ok && actualParent == parent;
}

}  // namespace platform
