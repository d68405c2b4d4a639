#pragma once
// What the button tests look at: the frame of a 64 x 25 control's surface against a face picture,
// and the gradient's colour in a row.
#include <QColor>
#include <QImage>
#include <QString>

#include "frontend/button/Command.h"
#include "frontend/resources/pictures.h"
#include "tests/support/qt_application.h"

namespace buttontest {

// First member of a fixture that holds widgets: the application exists before them.
struct QtApp {
  QtApp() { testsupport::QtApplication(); }
};

inline QImage Picture(const char* name) {
  return QImage(resources::PicturePath(QString::fromLatin1(name)))
      .convertToFormat(QImage::Format_RGB32);
}

// The face picture of each face, loaded by its file name (not through the control).
inline QImage PictureOf(Command::Face face) {
  switch (face) {
    case Command::Face::Normal:
      return Picture("face_normal.png");
    case Command::Face::HighLight:
      return Picture("face_highlight.png");
    case Command::Face::HighLightSelect:
      return Picture("face_highlightselect.png");
    case Command::Face::Selected:
      return Picture("face_selected.png");
    case Command::Face::Pressed:
      return Picture("face_pressed.png");
    case Command::Face::Disable:
      return Picture("face_disable.png");
  }
  return {};
}

inline bool InFrame(int x, int y, int width, int height) {
  return x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
}

// True when the 4-pixel frame of a 64 x 25 surface equals the face picture's frame.
inline bool ShowsFrameOf(const QImage& surface, Command::Face face) {
  const QImage picture = PictureOf(face);
  if (surface.size() != QSize(64, 25) || picture.size() != QSize(64, 25)) return false;
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (InFrame(x, y, 64, 25) && surface.pixel(x, y) != picture.pixel(x, y)) return false;
    }
  }
  return true;
}

// The face whose frame a 64 x 25 surface shows; HighLight stands for HighLightSelect too, since
// both have the same pixels. Nullopt for none.
inline std::optional<Command::Face> FaceShown(const QImage& surface) {
  for (Command::Face face :
       {Command::Face::Normal, Command::Face::HighLight, Command::Face::Selected,
        Command::Face::Pressed, Command::Face::Disable}) {
    if (ShowsFrameOf(surface, face)) return face;
  }
  return std::nullopt;
}

// Gradient row y of a surface whose height is height: from white (0xFF) to lavender-grey
// (C6 C5 D7) or the reverse, interpolated on 16-bit components toward the row height - 1.
inline QRgb GradientRow(int y, int height, bool whiteOnTop) {
  const int light[3] = {0xFF00, 0xFF00, 0xFF00};
  const int dark[3] = {0xC600, 0xC500, 0xD700};
  const int* top = whiteOnTop ? light : dark;
  const int* bottom = whiteOnTop ? dark : light;
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = (top[i] + (bottom[i] - top[i]) * y / (height - 1)) >> 8;
  return qRgb(c[0], c[1], c[2]);
}

}  // namespace buttontest
