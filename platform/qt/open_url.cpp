#include "platform/qt/open_url.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool OpenUrl(const QString& address) {
  const QUrl url(address, QUrl::StrictMode);
  if (!url.isValid() || url.isRelative()) return false;
  // Qt hands the address to xdg-open as one argument (or to a handler the program registered).
  return QDesktopServices::openUrl(url);
}

}  // namespace platform
