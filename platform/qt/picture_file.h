#pragma once
// Saving a picture as a bitmap file: the stand-in for the forms runtime's SavePicture.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// The picture as a Windows bitmap: 14-byte file header, 40-byte information header, 24 bits per
// pixel, no compression, positive height (bottom row first), rows of blue, green, red filled to
// a multiple of 4 bytes. Empty for a null picture.
QByteArray BitmapFileOf(const QImage& picture);

// Writes BitmapFileOf(picture) to the Windows path, replacing any file there atomically (a link
// at the path is replaced, never written through). False when nothing was written.
bool SavePicture(const QImage& picture, const QString& windowsPath);

}  // namespace platform
