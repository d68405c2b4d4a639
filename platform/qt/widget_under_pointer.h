#pragma once
// The window under the mouse pointer, as far as this program is concerned.
#include <QPoint>

class QWidget;

namespace platform {

// The pointer's position on the screen.
QPoint PointerPosition();

// The widget of this program under the pointer: the innermost one that takes mouse input there.
// Null when the pointer is over another program's window or over no window of this program.
QWidget* WidgetUnderPointer();

}  // namespace platform
