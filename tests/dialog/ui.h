#pragma once
// Driving widgets as the window system does: the pointer moved, presses and releases sent
// through the window (so that a press makes the widget under it hold the mouse).
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <optional>

namespace dialogtest {

inline QPoint InWindow(QWidget* widget, QPoint p) { return widget->mapTo(widget->window(), p); }

inline void MoveTo(QWidget* widget, QPoint p) {
  QCursor::setPos(widget->mapToGlobal(p));
  QTest::mouseMove(widget, p);
}

inline void Press(QWidget* widget, Qt::MouseButton button, QPoint p) {
  QTest::mousePress(widget->window()->windowHandle(), button, {}, InWindow(widget, p));
}

inline void Release(QWidget* widget, Qt::MouseButton button, QPoint p) {
  QTest::mouseRelease(widget->window()->windowHandle(), button, {}, InWindow(widget, p));
}

// Moves there, presses and releases, as a user's click. The pointer arrives from a neighbouring
// point, so that a move is seen even when it was at the target already.
inline void ClickOn(QWidget* widget, Qt::MouseButton button = Qt::LeftButton,
                    std::optional<QPoint> at = std::nullopt) {
  const QPoint p = at.value_or(widget->rect().center());
  MoveTo(widget, p + QPoint(1, 1));
  MoveTo(widget, p);
  Press(widget, button, p);
  Release(widget, button, p);
}

}  // namespace dialogtest
