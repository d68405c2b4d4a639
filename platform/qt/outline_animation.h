#pragma once
// DrawAnimatedRects stand-in: X11 has none. A thin outline moves and grows from one screen
// rectangle to the other in a few steps, then goes; it is a window of its own above everything,
// so the screen under it is repainted by its owners and nothing is left behind.
#include <QRect>

namespace platform {

// Runs to the end before it returns (about 150 ms). A rectangle of zero size is a point.
void AnimateOutline(const QRect& from, const QRect& to);

}  // namespace platform
