#pragma once
// A form inside a window of another process: the preview lives in a window that the display
// settings own. Qt does not know that such a window can die under its form, so the form's own
// window is watched for its destruction.
#include <QAbstractNativeEventFilter>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// GetWindowRect of a window of any process, as its size in pixels; nullopt when the id names no
// window (0 included) or the program is not on an X display.
std::optional<QSize> ForeignWindowSize(uint32_t window);

// SetParent: gives the form its native window (not shown) and makes that a child of the foreign
// window, at 0, 0. False when the parent is gone or the program is not on an X display; the form
// is then left as it was, a top-level window that was never shown.
bool SetParentWindow(QWidget& form, uint32_t parent);

// Calls `destroyed` once, when the X server reports the destruction of `window` (one of this
// program's own windows), for instance because its foreign parent was destroyed with it.
class WindowDestroyedWatch final : public QAbstractNativeEventFilter {
 public:
  WindowDestroyedWatch(uint32_t window, std::function<void()> destroyed);
  ~WindowDestroyedWatch() override;
  WindowDestroyedWatch(const WindowDestroyedWatch&) = delete;
  WindowDestroyedWatch& operator=(const WindowDestroyedWatch&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  uint32_t window_;
  std::function<void()> destroyed_;
};

}  // namespace platform
