// lorvane-draw-dialog-pictures FOLDER: draws the settings dialog's pictures into FOLDER:
//   star_icon.png          32 x 32, 256 colours: a glowing white-and-blue star on black (also the
//                          program's window icon)
//   hand_cursor.png        32 x 32, black and white with a transparent ground: a hand pointing up,
//                          its fingertip at the hot spot (12, 10)
//   marker_unselected.png  12 x 12: a sunken square
//   marker_selected.png    12 x 12: the same frame around a glossy blue square
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QRgb Mix(QRgb from, QRgb to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
  return qRgb(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)),
              channel(qBlue(from), qBlue(to)));
}

// The icon's colours are one ramp, black through deep blue and light blue to white, so the 256
// palette entries are the ramp itself and each pixel is its brightness.
QRgb StarRamp(double t) {
  if (t < 0.35) return Mix(0x000000, 0x0A2A9A, t / 0.35);
  if (t < 0.7) return Mix(0x0A2A9A, 0x6FA8FF, (t - 0.35) / 0.35);
  return Mix(0x6FA8FF, 0xFFFFFF, (t - 0.7) / 0.3);
}

QImage StarIcon() {
  QImage image(32, 32, QImage::Format_Indexed8);
  QVector<QRgb> palette;
  for (int i = 0; i < 256; ++i) palette << StarRamp(i / 255.0);
  image.setColorTable(palette);
  const double c = 15.5;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = x - c, dy = y - c;
      const double r = std::hypot(dx, dy);
      // A soft glow, four long rays along the axes and four short ones on the diagonals.
      double light = 0.95 * std::exp(-r * r / 18.0) + 0.35 * std::exp(-r / 6.0);
      light += std::exp(-dy * dy / 0.7) * std::exp(-std::abs(dx) / 7.0) * 0.9;
      light += std::exp(-dx * dx / 0.7) * std::exp(-std::abs(dy) / 7.0) * 0.9;
      const double u = (dx + dy) / std::sqrt(2.0), v = (dx - dy) / std::sqrt(2.0);
      light += std::exp(-u * u / 0.5) * std::exp(-std::abs(v) / 3.5) * 0.5;
      light += std::exp(-v * v / 0.5) * std::exp(-std::abs(u) / 3.5) * 0.5;
      // The faint end of the glow is cut, so that the ground is black.
      light = (light - 0.03) / 0.97;
      const int index = static_cast<int>(std::clamp(light, 0.0, 1.0) * 255.0 + 0.5);
      image.setPixel(x, y, static_cast<uint>(index));
    }
  }
  return image;
}

// '#' black, 'o' white, '.' transparent.
const char* const kHand[] = {
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "...........###..................", "..........#ooo#.................",
    "..........#ooo#.................", "..........#ooo#.................",
    "..........#ooo#.................", "..........#ooo###...............",
    "..........#ooo#oo###............", "..........#ooo#oo#oo##..........",
    "..........#ooo#oo#oo#o#.........", ".......##.#ooo#oo#oo#o#.........",
    ".......#o##oooooooooooo#........", ".......#oo#oooooooooooo#........",
    "........#o#oooooooooooo#........", "........#ooooooooooooooo#.......",
    ".........#oooooooooooooo#.......", ".........#ooooooooooooo#........",
    "..........#oooooooooooo#........", "..........#ooooooooooo#.........",
    "...........#oooooooooo#.........", "...........#oooooooooo#.........",
    "...........############.........", "................................",
};

QImage HandCursor() {
  QImage image(32, 32, QImage::Format_Indexed8);
  image.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const char c = kHand[y][x];
      image.setPixel(x, y, c == '#' ? 1u : c == 'o' ? 2u : 0u);
    }
  }
  return image;
}

// The sunken frame shared by both markers: dark on the top and left, lighter grey on the right
// and bottom, lightest toward the bottom-right corner.
void DrawMarkerFrame(QImage& image) {
  for (int i = 0; i < 12; ++i) {
    image.setPixel(i, 0, qRgb(37, 37, 37));
    image.setPixel(0, i, qRgb(37, 37, 37));
  }
  for (int i = 1; i < 12; ++i) {
    const QRgb shade = Mix(qRgb(93, 93, 93), qRgb(152, 152, 152), (i - 1) / 10.0);
    image.setPixel(11, i, shade);
    image.setPixel(i, 11, shade);
  }
}

QImage MarkerUnselected() {
  QImage image(12, 12, QImage::Format_RGB888);
  for (int y = 1; y < 11; ++y) {
    for (int x = 1; x < 11; ++x) {
      image.setPixel(x, y, Mix(qRgb(139, 139, 139), qRgb(255, 255, 255), (x + y - 2) / 14.0));
    }
  }
  DrawMarkerFrame(image);
  return image;
}

QImage MarkerSelected() {
  QImage image(12, 12, QImage::Format_RGB888);
  image.fill(qRgb(212, 212, 212));  // the thin light-grey ring
  for (int y = 2; y < 10; ++y) {
    for (int x = 2; x < 10; ++x) {
      const double t = (x + y - 4) / 14.0;
      QRgb c = t < 0.5 ? Mix(qRgb(98, 176, 224), qRgb(31, 153, 230), t * 2)
                       : Mix(qRgb(31, 153, 230), qRgb(8, 80, 140), (t - 0.5) * 2);
      if (x == 9 || y == 9) c = qRgb(0, 33, 58);
      image.setPixel(x, y, c);
    }
  }
  image.setPixel(2, 2, qRgb(160, 210, 240));  // the gloss
  DrawMarkerFrame(image);
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
  } pictures[] = {
      {"star_icon.png", StarIcon()},
      {"hand_cursor.png", HandCursor()},
      {"marker_unselected.png", MarkerUnselected()},
      {"marker_selected.png", MarkerSelected()},
  };
  for (const auto& picture : pictures) {
    const QString path = folder.filePath(QString::fromLatin1(picture.name));
    if (!picture.image.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
