#include "tests/support/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace testsupport {
namespace {

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

XConnection::XConnection(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
  // Windows of other programs come and go while a test looks at them.
  XSetErrorHandler(IgnoreErrors);
}

XConnection::~XConnection() {
  if (display_) XCloseDisplay(display_);
}

Window XConnection::Root() const { return DefaultRootWindow(display_); }

std::string XConnection::Title(Window window) const {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display_, window, &name) && name) title = name;
  if (name) XFree(name);
  return title;
}

std::string XConnection::NetTitle(Window window) const {
  Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display_, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success && data) {
    title.assign(reinterpret_cast<char*>(data), count);
  }
  if (data) XFree(data);
  return title;
}

std::string XConnection::ClassName(Window window) const {
  XClassHint hint{};
  std::string name;
  if (XGetClassHint(display_, window, &hint)) {
    if (hint.res_class) name = hint.res_class;
    XFree(hint.res_name);
    XFree(hint.res_class);
  }
  return name;
}

std::vector<Window> XConnection::TopLevelsTitled(const std::string& title) const {
  std::vector<Window> found;
  if (!display_) return found;
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, Root(), &root, &parent, &children, &count)) return found;
  for (unsigned int i = 0; i < count; ++i) {
    if (Title(children[i]) == title || NetTitle(children[i]) == title)
      found.push_back(children[i]);
  }
  if (children) XFree(children);
  return found;
}

std::optional<Window> XConnection::TopLevelTitled(const std::string& title) const {
  auto all = TopLevelsTitled(title);
  if (all.empty()) return std::nullopt;
  return all.front();
}

std::optional<XConnection::Geometry> XConnection::GeometryOf(Window window) const {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window, &attributes)) return std::nullopt;
  Window child;
  Geometry g;
  XTranslateCoordinates(display_, window, Root(), 0, 0, &g.x, &g.y, &child);
  g.width = attributes.width;
  g.height = attributes.height;
  g.mapped = attributes.map_state == IsViewable;
  return g;
}

}  // namespace testsupport
