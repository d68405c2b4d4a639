// The two pictures the front end carries for the star, measured against what they must look like.
#include <QImage>
#include <cmath>

#include <gtest/gtest.h>

#include "frontend/resources/pictures.h"

namespace {

QImage Picture(const char* name) {
  return QImage(resources::PicturePath(QString::fromLatin1(name))).convertToFormat(QImage::Format_RGB32);
}

TEST(StarPictures, CloudSpriteIsAGreySwellFadingToABlackBorder) {
  const QImage sprite = Picture("cloud_sprite.png");
  ASSERT_EQ(sprite.size(), QSize(256, 256));
  const double centre = 127.5;
  double sum30 = 0, sum65 = 0;
  int n30 = 0, n65 = 0, brightest = 0, beyond150 = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      QRgb p = sprite.pixel(x, y);
      ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << "grey at " << x << "," << y;
      const int v = qRed(p);
      const double r = std::hypot(x - centre, y - centre);
      if (r <= 30) { sum30 += v; ++n30; }
      if (std::abs(r - 65) < 1) { sum65 += v; ++n65; }
      if (r >= 150) beyond150 = std::max(beyond150, v);
      brightest = std::max(brightest, v);
    }
  const double middle = sum30 / n30;
  EXPECT_NEAR(middle, 150, 10);
  EXPECT_NEAR(brightest, 190, 5);
  EXPECT_NEAR(sum65 / n65, middle / 2, 10);
  EXPECT_LE(beyond150, 1);

  double border = 0;
  for (int i = 0; i < 256; ++i)
    border += qRed(sprite.pixel(i, 0)) + qRed(sprite.pixel(i, 255)) + qRed(sprite.pixel(0, i)) +
              qRed(sprite.pixel(255, i));
  EXPECT_NEAR(border / (4 * 256), 3, 1.5);
  for (QPoint corner : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(255, 255)})
    EXPECT_EQ(sprite.pixel(corner), qRgb(0, 0, 0));
}

TEST(StarPictures, PreviewIsAWhiteCoreInAPaleBlueGlowOnBlack) {
  const QImage preview = Picture("star_preview.png");
  ASSERT_EQ(preview.size(), QSize(152, 112));
  EXPECT_EQ(preview.pixel(70, 45), qRgb(255, 255, 255));
  int lightBeyond50 = 0;
  long red = 0, green = 0, blue = 0;
  for (int y = 0; y < 112; ++y)
    for (int x = 0; x < 152; ++x) {
      QRgb p = preview.pixel(x, y);
      const double d = std::hypot(x - 70, y - 45);
      if (d > 50) lightBeyond50 = std::max({lightBeyond50, qRed(p), qGreen(p), qBlue(p)});
      if (d > 6 && d < 30) { red += qRed(p); green += qGreen(p); blue += qBlue(p); }
    }
  EXPECT_EQ(lightBeyond50, 0);
  // The glow: blue above green above red.
  EXPECT_GT(blue, green);
  EXPECT_GT(green, red);
  EXPECT_GT(red, blue / 3);  // pale, not deep blue
}

}  // namespace
