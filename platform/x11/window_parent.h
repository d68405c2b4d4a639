#pragma once
// Putting a window of ours into a window of another process (GetWindowRect, SetParent), on an
// Xlib connection the caller owns. Kept free of Xlib's headers, so that Qt code may include it.
#include <cstdint>
#include <optional>

struct _XDisplay;

namespace platform {

struct WindowExtent {
  int32_t width = 0;
  int32_t height = 0;
};

// Size in pixels of a window of any process; nullopt when the id names no window (0 included).
std::optional<WindowExtent> WindowExtentOf(_XDisplay* display, uint32_t window);

// Makes child a child window of parent at x, y (XReparentWindow). True when the server then
// reports parent as child's parent; false when either window is gone or the request failed.
bool ReparentWindow(_XDisplay* display, uint32_t child, uint32_t parent, int x, int y);

}  // namespace platform
