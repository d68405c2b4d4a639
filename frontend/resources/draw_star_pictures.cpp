// Draws the two star pictures of the front end into a folder (normally frontend/resources/pictures):
//   cloud_sprite.png  256 x 256 grey cloud that every particle of the renderer wears
//   star_preview.png  152 x 112 still star shown in the display settings' preview
// Deterministic: the same program always draws the same pixels.
//   lorvane-draw-star-pictures frontend/resources/pictures
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Integer hash of a lattice point to [0, 1).
double LatticeValue(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
               seed * 0xcb1ab31fu;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<double>(h & 0xffffffu) / static_cast<double>(0x1000000);
}

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

// Value noise in [-1, 1] with a lattice cell of `cell` pixels.
double ValueNoise(double x, double y, double cell, uint32_t seed) {
  double fx = x / cell, fy = y / cell;
  int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
  double a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  double c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return 2.0 * (top + (bottom - top) * ty) - 1.0;
}

// Several octaves of value noise, about [-1, 1].
double Mottle(double x, double y, uint32_t seed) {
  double sum = 0, weight = 0, amplitude = 1, cell = 32;
  for (int octave = 0; octave < 4; ++octave) {
    sum += amplitude * ValueNoise(x, y, cell, seed + static_cast<uint32_t>(octave));
    weight += amplitude;
    amplitude *= 0.55;
    cell /= 2;
  }
  return sum / weight;
}

double SmoothStep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

int Level(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

// A soft cloud: a Gaussian swell, about 155 in the middle and half that at 65 pixels, mottled by
// noise, its outline wobbling a little, tapered to black by 150 pixels so the border is nearly
// black and the corners fully.
QImage DrawCloudSprite() {
  constexpr int kSize = 256;
  constexpr double kCentre = (kSize - 1) / 2.0;
  QImage image(kSize, kSize, QImage::Format_RGB888);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double dx = x - kCentre, dy = y - kCentre;
      double r = std::sqrt(dx * dx + dy * dy);
      double wobble = 1.0 + 0.07 * ValueNoise(x, y, 48, 101);
      double re = r * wobble;
      double swell = 155.0 * std::exp(-(re / 76.0) * (re / 76.0));
      double taper = 1.0 - SmoothStep(120.0, 157.0, r);
      double grain = 2.0 * LatticeValue(x, y, 23) - 1.0;
      double mottle = 1.0 + 0.45 * Mottle(x, y, 7) + 0.17 * grain;
      int v = std::min(Level(swell * taper * mottle), 190);
      image.setPixel(x, y, qRgb(v, v, v));
    }
  }
  return image;
}

// A bright star: a pure-white core at (70, 45) in a pale blue glow, tinted faintly green on one
// side and violet on the other, with four faint rays; all of it black beyond 50 pixels.
QImage DrawStarPreview() {
  constexpr int kWidth = 152, kHeight = 112;
  constexpr double kCoreX = 70, kCoreY = 45;
  QImage image(kWidth, kHeight, QImage::Format_RGB888);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      double dx = x - kCoreX, dy = y - kCoreY;
      double d = std::sqrt(dx * dx + dy * dy);
      double fade = 1.0 - SmoothStep(30.0, 50.0, d);
      double core = std::exp(-(d / 1.8) * (d / 1.8));
      double glow = std::exp(-d / 9.0) * fade;
      double halo = std::exp(-(d / 22.0) * (d / 22.0)) * fade;
      double ray = (std::exp(-std::abs(dy) / 0.9) * std::exp(-std::abs(dx) / 14.0) +
                    std::exp(-std::abs(dx) / 0.9) * std::exp(-std::abs(dy) / 11.0)) * fade;
      double angle = std::atan2(dy, dx);
      double green = 0.5 + 0.5 * std::cos(angle - kPi * 0.25);
      double violet = 0.5 + 0.5 * std::cos(angle + kPi * 0.75);
      double red = 255 * core + 150 * glow + 38 * halo + 90 * ray + 22 * violet * halo;
      double grn = 255 * core + 185 * glow + 46 * halo + 110 * ray + 24 * green * halo;
      double blue = 255 * core + 255 * glow + 78 * halo + 150 * ray + 18 * violet * halo;
      image.setPixel(x, y, qRgb(Level(red), Level(grn), Level(blue)));
    }
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  QString folder = QString::fromLocal8Bit(argv[1]);
  bool ok = DrawCloudSprite().save(folder + "/cloud_sprite.png", "PNG");
  ok = DrawStarPreview().save(folder + "/star_preview.png", "PNG") && ok;
  if (!ok) std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
