// The texture file as the front end writes it, read by the renderer's own reader: the sprite
// arrives unscaled, pixel for pixel.
#include <QImage>

#include <algorithm>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "frontend/resources/pictures.h"
#include "platform/qt/picture_file.h"
#include "renderer/texture.h"
#include "tests/renderer/gl_window.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(TextureHandover, TheRendererTakesTheFrontEndsSpriteUnscaled) {
  renderertest::GlWindow window;
  ASSERT_TRUE(window.Ready());
  testsupport::ScratchFolder home;
  home.UseAsHome();
  std::filesystem::create_directories(home.DriveC() + "/ostrik");

  const QImage sprite(resources::PicturePath(QStringLiteral("cloud_sprite.png")));
  // The front end's path in upper case, the renderer's in lower: one file.
  ASSERT_TRUE(platform::SavePicture(sprite, QStringLiteral("C:\\ostrik\\Lorvane.bmp")));
  renderer::Texture texture;
  ASSERT_TRUE(texture.LoadBmp("c:\\ostrik\\Lorvane.bmp"));
  EXPECT_EQ(texture.Width(), 256);
  EXPECT_EQ(texture.Height(), 256);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  EXPECT_EQ(width, 256);
  EXPECT_EQ(height, 256);

  // Texture row 0 is the picture's bottom row.
  std::vector<unsigned char> texels(256 * 256 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  int wrong = 0;
  for (int row = 0; row < 256; ++row)
    for (int x = 0; x < 256; ++x) {
      const QRgb p = sprite.pixel(x, 255 - row);
      const unsigned char* t = &texels[static_cast<size_t>((row * 256 + x) * 3)];
      if (t[0] != qRed(p) || t[1] != qGreen(p) || t[2] != qBlue(p)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
