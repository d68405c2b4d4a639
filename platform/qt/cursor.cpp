#include "platform/qt/cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <limits>

namespace platform {
namespace {

int32_t displayCount = 0;
bool blankCursorSet = false;

}  // namespace

int32_t ShowCursor(bool show) {
  if (show) {
    if (displayCount < std::numeric_limits<int32_t>::max()) ++displayCount;
  } else {
    if (displayCount > std::numeric_limits<int32_t>::min()) --displayCount;
  }
  // An application override cursor covers every window of the process, present and future.
  bool wantBlank = displayCount < 0;
  if (wantBlank != blankCursorSet && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (wantBlank) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else QGuiApplication::restoreOverrideCursor();
    blankCursorSet = wantBlank;
  }
  return displayCount;
}

}  // namespace platform
