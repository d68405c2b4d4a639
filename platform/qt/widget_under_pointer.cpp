#include "platform/qt/widget_under_pointer.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace platform {

QPoint PointerPosition() { return QCursor::pos(); }

// Qt asks the window system which top-level window lies under the point (stacking included), so
// a foreign window over ours gives null, as it should.
QWidget* WidgetUnderPointer() { return QApplication::widgetAt(PointerPosition()); }

}  // namespace platform
