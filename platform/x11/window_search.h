#pragma once
// FindWindowA by title over the X display named by DISPLAY. Kept free of Xlib's and xcb's
// headers, so that Qt code may include it.
#include <cstdint>
#include <string_view>

namespace platform {

// The id of a top-level window whose WM_NAME or _NET_WM_NAME equals title (UTF-8), ignoring the
// case of ASCII letters; mapped or not, of any process. A window manager's frame is looked
// through to the client window inside it. 0 when there is none, or no display.
uint32_t FindTopLevelWindow(std::string_view title);

}  // namespace platform
