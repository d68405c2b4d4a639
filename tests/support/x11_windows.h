#pragma once
// Looking at an X display from a test: a connection of its own, top-level windows by title,
// properties and geometry.
#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class XConnection {
 public:
  explicit XConnection(const std::string& display);
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  ::Display* Get() const { return display_; }
  explicit operator bool() const { return display_ != nullptr; }
  Window Root() const;

  // Every child of the root whose WM_NAME or _NET_WM_NAME equals title exactly, mapped or not.
  std::vector<Window> TopLevelsTitled(const std::string& title) const;
  std::optional<Window> TopLevelTitled(const std::string& title) const;
  std::string Title(Window window) const;          // WM_NAME
  std::string NetTitle(Window window) const;       // _NET_WM_NAME (UTF-8)
  std::string ClassName(Window window) const;      // WM_CLASS, class part
  struct Geometry { int x = 0, y = 0, width = 0, height = 0; bool mapped = false; };
  std::optional<Geometry> GeometryOf(Window window) const;

 private:
  ::Display* display_ = nullptr;
};

}  // namespace testsupport
