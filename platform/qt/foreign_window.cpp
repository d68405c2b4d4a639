#include "platform/qt/foreign_window.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include "platform/x11/window_parent.h"

namespace platform {
namespace {

// The Xlib side of Qt's own X connection: requests on it are ordered with Qt's, so the form's
// window, just created by Qt, already exists for the server when it is reparented.
_XDisplay* ApplicationDisplay() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

}  // namespace

std::optional<QSize> ForeignWindowSize(uint32_t window) {
  auto extent = WindowExtentOf(ApplicationDisplay(), window);
  if (!extent) return std::nullopt;
  return QSize(extent->width, extent->height);
}

bool SetParentWindow(QWidget& form, uint32_t parent) {
  _XDisplay* display = ApplicationDisplay();
  if (!display) return false;
  auto window = static_cast<uint32_t>(form.winId());
  return ReparentWindow(display, window, parent, 0, 0);
}

WindowDestroyedWatch::WindowDestroyedWatch(uint32_t window, std::function<void()> destroyed)
    : window_(window), destroyed_(std::move(destroyed)) {
  if (qGuiApp) qGuiApp->installNativeEventFilter(this);
}

WindowDestroyedWatch::~WindowDestroyedWatch() {
  if (qGuiApp) qGuiApp->removeNativeEventFilter(this);
}

bool WindowDestroyedWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr*) {
  if (eventType != "xcb_generic_event_t" || !destroyed_) return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
  auto* destroy = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
  if (destroy->window != window_) return false;
  auto destroyed = std::move(destroyed_);
  destroyed_ = nullptr;
  destroyed();
  return false;
}

}  // namespace platform
