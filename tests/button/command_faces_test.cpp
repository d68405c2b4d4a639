// Drawing a face: the frame cut from the picture, the gradient under it, the caption's place.
#include <gtest/gtest.h>

#include <QLabel>

#include "tests/button/faces.h"

namespace {

using buttontest::GradientRow;
using buttontest::PictureOf;
using Face = Command::Face;

// Buttons live on a shown host, so that a resize reaches them at once.
class CommandFaces : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(300, 100);
    host.show();
  }
  buttontest::QtApp app;
  QWidget host;
};

TEST_F(CommandFaces, AllSixPicturesAre64By25) {
  for (Face face : {Face::Normal, Face::HighLight, Face::HighLightSelect, Face::Selected,
                    Face::Pressed, Face::Disable}) {
    EXPECT_EQ(PictureOf(face).size(), QSize(64, 25));
    EXPECT_EQ(Command::FacePicture(face), PictureOf(face));
  }
  EXPECT_EQ(PictureOf(Face::HighLight), PictureOf(Face::HighLightSelect));
}

// An enabled 64 x 25 control is the Normal picture's frame pixel for pixel, the gradient (white
// at the top) inside it.
TEST_F(CommandFaces, ControlOfPictureSizeReproducesFrameWithGradientInside) {
  Command button(&host);
  button.show();
  button.resize(64, 25);
  button.SetEnabled(true);
  const QImage& surface = button.Surface();
  ASSERT_EQ(surface.size(), QSize(64, 25));
  const QImage picture = PictureOf(Face::Normal);
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 64; ++x) {
      const QRgb expected =
          buttontest::InFrame(x, y, 64, 25) ? picture.pixel(x, y) : GradientRow(y, 25, true);
      ASSERT_EQ(surface.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
    }
  }
  EXPECT_EQ(GradientRow(0, 25, true) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(GradientRow(24, 25, true) & 0xFFFFFF, 0xC6C5D7u);
}

// 120 x 120 twips: the four 4 x 4 corners and no edges.
TEST_F(CommandFaces, EightByEightShowsTheCornersOnly) {
  Command button(&host);
  button.show();
  button.resize(8, 8);
  button.SetEnabled(true);
  const QImage& surface = button.Surface();
  const QImage picture = PictureOf(Face::Normal);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int px = x < 4 ? x : x + 56;
      const int py = y < 4 ? y : y + 17;
      ASSERT_EQ(surface.pixel(x, y), picture.pixel(px, py)) << x << "," << y;
    }
  }
}

// Resized, the edges stretch and the corners stay 4 x 4, drawn at 1:1 (the bottom-right one from
// its longer source as well).
TEST_F(CommandFaces, ResizingStretchesEdgesAndKeepsCorners) {
  const QImage picture = PictureOf(Face::Normal);
  Command button(&host);
  button.show();
  button.SetEnabled(true);
  for (QSize size : {QSize(64, 25), QSize(200, 40), QSize(41, 21), QSize(3000, 40)}) {
    button.resize(size);
    const QImage& surface = button.Surface();
    ASSERT_EQ(surface.size(), size);
    const int w = size.width(), h = size.height();
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        ASSERT_EQ(surface.pixel(x, y), picture.pixel(x, y));
        ASSERT_EQ(surface.pixel(w - 4 + x, y), picture.pixel(60 + x, y));
        ASSERT_EQ(surface.pixel(x, h - 4 + y), picture.pixel(x, 21 + y));
        ASSERT_EQ(surface.pixel(w - 4 + x, h - 4 + y), picture.pixel(60 + x, 21 + y))
            << w << "x" << h;
      }
    }
    // Top and bottom rows keep their picture colours along the whole width.
    for (int x = 4; x < w - 4; x += 7) {
      for (int y = 0; y < 4; ++y) {
        ASSERT_EQ(surface.pixel(x, y), picture.pixel(30, y));
        ASSERT_EQ(surface.pixel(x, h - 4 + y), picture.pixel(30, 21 + y));
      }
    }
    // The middle is the gradient, white at the top.
    EXPECT_EQ(surface.pixel(w / 2, 4) & 0xFFFFFF, GradientRow(4, h, true) & 0xFFFFFF);
    EXPECT_EQ(surface.pixel(w / 2, h - 5) & 0xFFFFFF, GradientRow(h - 5, h, true) & 0xFFFFFF);
  }
}

// Controls below 120 twips, and far beyond 16-bit geometry, draw without fault.
TEST_F(CommandFaces, TinyAndHugeSizesDoNotFail) {
  Command button(&host);
  button.show();
  button.SetEnabled(true);
  for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 30), QSize(30, 2), QSize(7, 7),
                     QSize(40000, 30), QSize(30, 40000)}) {
    button.resize(size);
    EXPECT_EQ(button.Surface().size(), size);
  }
  // A 40000-pixel wide control still has its top-right corner at its right edge.
  button.resize(40000, 25);
  const QImage picture = PictureOf(Face::Normal);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(button.Surface().pixel(39996 + x, 1), picture.pixel(60 + x, 1));
  }
}

// The caption sits at (H - 195 - 20) / 2 twips and spans the width.
TEST_F(CommandFaces, CaptionIsPlacedFromTheHeight) {
  Command button(&host);
  button.show();
  button.SetEnabled(true);
  button.resize(77, 25);  // 375 twips: Top 80 twips, 5 pixels
  EXPECT_EQ(button.CaptionLabel()->geometry(), QRect(0, 5, 77, 13));
  button.resize(41, 21);  // 315 twips: Top 50 twips, 3 pixels
  EXPECT_EQ(button.CaptionLabel()->geometry(), QRect(0, 3, 41, 13));
}

}  // namespace
