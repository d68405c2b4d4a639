// lorvane-draw-faces FOLDER: draws the six 64 x 25 button faces into FOLDER as 24-bit PNG files.
//
// A face is four one-pixel rings around a middle that the button never shows (its own gradient
// shows there): ring 0 is the outer ring, ring 1 the next, and so on. Faces that look pressed or
// disabled move the frame in by one ring.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 25;
constexpr QRgb kDialog = 0xECE9D8;

QRgb Mix(QRgb from, QRgb to, double t) {
  auto channel = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
  return qRgb(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)),
              channel(qBlue(from), qBlue(to)));
}

// Colour of a side of a ring: either one colour, or a fade from the first pixel of the side to
// its last, optionally through a middle colour.
struct Side {
  QRgb first;
  QRgb middle;
  QRgb last;
  bool hasMiddle = false;

  static Side Solid(QRgb c) { return {c, c, c, false}; }
  static Side Fade(QRgb a, QRgb b) { return {a, a, b, false}; }
  static Side Fade3(QRgb a, QRgb m, QRgb b) { return {a, m, b, true}; }

  QRgb At(int index, int count) const {
    double t = count > 1 ? static_cast<double>(index) / (count - 1) : 0.0;
    if (!hasMiddle) return Mix(first, last, t);
    return t < 0.5 ? Mix(first, middle, t * 2) : Mix(middle, last, (t - 0.5) * 2);
  }
};

struct Ring {
  Side top, left, right, bottom;
  static Ring Solid(QRgb c) {
    return {Side::Solid(c), Side::Solid(c), Side::Solid(c), Side::Solid(c)};
  }
};

// Ring k: top and bottom rows span the full width of the ring, the side columns the rows between.
void DrawRing(QImage& image, int k, const Ring& ring) {
  const int x0 = k, x1 = kWidth - 1 - k, y0 = k, y1 = kHeight - 1 - k;
  for (int x = x0; x <= x1; ++x) {
    image.setPixel(x, y0, ring.top.At(x - x0, x1 - x0 + 1));
    image.setPixel(x, y1, ring.bottom.At(x - x0, x1 - x0 + 1));
  }
  for (int y = y0 + 1; y < y1; ++y) {
    image.setPixel(x0, y, ring.left.At(y - y0 - 1, y1 - y0 - 1));
    image.setPixel(x1, y, ring.right.At(y - y0 - 1, y1 - y0 - 1));
  }
}

// Rounds the corners of the outline ring k: the corner pixel takes the light blend, its two
// neighbours on the ring the dark blend; the corner of the ring outside becomes the dialog colour.
void RoundCorners(QImage& image, int k, QRgb dark, QRgb light) {
  const int xs[2] = {k, kWidth - 1 - k};
  const int ys[2] = {k, kHeight - 1 - k};
  for (int cx = 0; cx < 2; ++cx) {
    for (int cy = 0; cy < 2; ++cy) {
      const int x = xs[cx], y = ys[cy];
      const int dx = cx == 0 ? 1 : -1, dy = cy == 0 ? 1 : -1;
      image.setPixel(x, y, light);
      image.setPixel(x + dx, y, dark);
      image.setPixel(x, y + dy, dark);
      if (k > 0) image.setPixel(x - dx, y - dy, kDialog);
    }
  }
}

// The middle never shows on the button; a soft fill keeps the picture readable on its own.
void FillMiddle(QImage& image) {
  for (int y = 4; y < kHeight - 4; ++y) {
    QRgb c = Mix(0xFFFFFF, 0xC6C5D7, static_cast<double>(y - 4) / (kHeight - 9));
    for (int x = 4; x < kWidth - 4; ++x) image.setPixel(x, y, c);
  }
}

QImage NewFace() {
  QImage image(kWidth, kHeight, QImage::Format_RGB888);
  image.fill(QColor::fromRgb(kDialog));
  FillMiddle(image);
  return image;
}

const Ring kBlendRing = {Side::Solid(0xE0DCC9), Side::Solid(0xE2DECB), Side::Solid(0xF0EEE0),
                         Side::Solid(0xF8F7F0)};
constexpr QRgb kOutline = 0x003C74;
constexpr QRgb kOutlineDark = 0x255783;
constexpr QRgb kOutlineLight = 0x7A95A8;

// Faces with the outer blend ring, the blue outline and two inner rings (inner is ring 2, then 3).
QImage RaisedFace(const Ring& ring2, const Ring& ring3) {
  QImage image = NewFace();
  DrawRing(image, 0, kBlendRing);
  DrawRing(image, 1, Ring::Solid(kOutline));
  DrawRing(image, 2, ring2);
  DrawRing(image, 3, ring3);
  RoundCorners(image, 1, kOutlineDark, kOutlineLight);
  return image;
}

QImage NormalFace() {
  Ring outer = {Side::Solid(0xF3F3EE), Side::Fade(0xFDFDFC, 0xECEBE6),
                Side::Fade(0xF6F4F2, 0xE0DDD4), Side::Solid(0xD6D0C5)};
  Ring inner = {Side::Solid(0xF3F3EE), Side::Fade(0xFDFDFC, 0xECEBE6),
                Side::Fade(0xF6F4F2, 0xE0DDD4), Side::Solid(0xE2DFD6)};
  return RaisedFace(outer, inner);
}

QImage HighLightFace() {
  Side sides = Side::Fade(0xFEDF9A, 0xF9B435);
  Ring outer = {Side::Solid(0xFFF0CF), sides, sides, Side::Solid(0xE59700)};
  Ring inner = {Side::Solid(0xFDD889), sides, sides, Side::Solid(0xF8B330)};
  return RaisedFace(outer, inner);
}

QImage SelectedFace() {
  Side sides = Side::Fade(0xB7D0F4, 0x8BADE4);
  Ring ring = {Side::Solid(0xCEE7FF), sides, sides, Side::Solid(0x6982EE)};
  return RaisedFace(ring, ring);
}

QImage PressedFace() {
  QImage image = NewFace();
  DrawRing(image, 0, Ring::Solid(kDialog));
  DrawRing(image, 1, kBlendRing);
  DrawRing(image, 2, Ring::Solid(kOutline));
  DrawRing(image, 3,
           {Side::Solid(0xD1CCC1), Side::Fade3(0xA0ABB1, 0xD7D4CB, 0xBCC5C7),
            Side::Fade3(0xA9B5BD, 0xE4E3DC, 0xC4CED2), Side::Solid(0xF2F1EE)});
  RoundCorners(image, 2, kOutlineDark, kOutlineLight);
  return image;
}

QImage DisableFace() {
  QImage image = NewFace();
  DrawRing(image, 0, Ring::Solid(kDialog));
  DrawRing(image, 1, Ring::Solid(kDialog));
  DrawRing(image, 2, Ring::Solid(0xC9C7BA));
  DrawRing(image, 3, Ring::Solid(0xF5F4EA));
  RoundCorners(image, 2, 0xCBC9BC, 0xD8D5C7);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const struct {
    const char* name;
    QImage image;
  } faces[] = {
      {"face_normal.png", NormalFace()},
      {"face_highlight.png", HighLightFace()},
      {"face_highlightselect.png", HighLightFace()},
      {"face_selected.png", SelectedFace()},
      {"face_pressed.png", PressedFace()},
      {"face_disable.png", DisableFace()},
  };
  for (const auto& face : faces) {
    const QString path = folder.filePath(QString::fromLatin1(face.name));
    if (!face.image.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
