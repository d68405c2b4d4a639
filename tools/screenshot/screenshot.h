#pragma once
// Pixels of an X window (or the whole screen) as an image, and saving it for a person to look at.
#include <QImage>
#include <string>

// Xlib is kept out of this header: its macros clash with Qt's names.
struct _XDisplay;

namespace screenshot {

// Null image when the window cannot be read.
QImage Screenshot(_XDisplay* display, unsigned long window);
// Saves as PNG; false when it cannot be written.
bool SavePng(const QImage& image, const std::string& path);

}  // namespace screenshot
