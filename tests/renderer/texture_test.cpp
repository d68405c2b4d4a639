// The texture reader on small bitmap files: what it uploads, and what it refuses.
#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

#include "renderer/texture.h"
#include "tests/renderer/bitmap_fixture.h"
#include "tests/renderer/gl_window.h"
#include "tests/support/scratch_folder.h"

namespace {

using renderertest::BitmapFile;
using renderertest::Bgr;
using renderertest::PutU16;
using renderertest::PutU32;

constexpr char kPath[] = "c:\\ostrik\\Lorvane.bmp";
constexpr char kFile[] = "home/.local/share/lorvane/drive_c/ostrik/Lorvane.bmp";

int LevelWidth(int level) {
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}
int LevelHeight(int level) {
  GLint height = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
  return height;
}
GLuint BoundTexture() {
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  return static_cast<GLuint>(bound);
}
int OpenFiles() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++count;
    closedir(dir);
  }
  return count;
}

class TextureFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Ready());
    home_.UseAsHome();
  }
  void Write(const std::string& bytes) { home_.WriteFile(kFile, bytes); }
  // A name exists and is bound, whatever became of the file.
  void ExpectBoundName() {
    EXPECT_NE(texture_.NamePlusOne(), 0u);
    EXPECT_EQ(BoundTexture(), texture_.NamePlusOne() - 1);
  }
  renderertest::GlWindow window_;
  testsupport::ScratchFolder home_;
  renderer::Texture texture_;
};

TEST_F(TextureFile, Sprite256UploadsUnscaledWithNineLevelsBottomRowFirst) {
  auto pixel = [](int x, int row) {
    return Bgr{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(row), 200};
  };
  std::string file = BitmapFile(256, 256, pixel);
  Write(file);
  ASSERT_TRUE(texture_.LoadBmp(kPath));
  ExpectBoundName();
  EXPECT_EQ(texture_.Width(), 256);
  EXPECT_EQ(texture_.Height(), 256);
  for (int level = 0; level <= 8; ++level) {
    EXPECT_EQ(LevelWidth(level), 256 >> level) << level;
    EXPECT_EQ(LevelHeight(level), 256 >> level) << level;
  }
  EXPECT_EQ(LevelWidth(9), 0);

  std::vector<unsigned char> texels(256 * 256 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_TRUE(std::equal(texels.begin(), texels.end(),
                         reinterpret_cast<const unsigned char*>(file.data()) + 54));

  GLfloat minFilter = 0, wrap = 0;
  glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(minFilter, 9985.0f);
  EXPECT_EQ(wrap, 10497.0f);
}

TEST_F(TextureFile, FilledRowsOfAnOddWidthAreReadAndScaledToPowersOfTwo) {
  // 5 pixels × 3 bytes = 15, filled to 16 bytes a row; the computed size is exactly the file.
  std::string file = BitmapFile(5, 3, [](int, int) { return Bgr{10, 20, 200}; });
  ASSERT_EQ(file.size(), 54u + 3 * 16);
  Write(file);
  ASSERT_TRUE(texture_.LoadBmp(kPath));
  EXPECT_EQ(LevelWidth(0), 4);
  EXPECT_EQ(LevelHeight(0), 4);
  EXPECT_EQ(LevelWidth(2), 1);
  std::vector<unsigned char> texels(4 * 4 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  for (size_t i = 0; i < texels.size(); i += 3) {
    EXPECT_EQ(texels[i], 200);
    EXPECT_EQ(texels[i + 1], 20);
    EXPECT_EQ(texels[i + 2], 10);
  }

  // One byte short of the last row's filling: short read.
  renderer::Texture other;
  file.pop_back();
  Write(file);
  EXPECT_FALSE(other.LoadBmp(kPath));
  EXPECT_EQ(LevelWidth(0), 0);
}

TEST_F(TextureFile, TopDownBitmapIsReadButGluRefusesIt) {
  Write(BitmapFile(4, -4, [](int, int) { return Bgr{1, 2, 3}; }));
  EXPECT_TRUE(texture_.LoadBmp(kPath));
  EXPECT_EQ(texture_.Height(), -4);
  ExpectBoundName();
  EXPECT_EQ(LevelWidth(0), 0);
}

TEST_F(TextureFile, BadFilesLeaveABoundNameWithoutImage) {
  const std::string good = BitmapFile(4, 2, [](int, int) { return Bgr{9, 9, 9}; }, true);
  auto with = [&good](auto change) {
    std::string bytes = good;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"shorter than the file header", good.substr(0, 13)},
      {"not BM", with([](std::string& b) { b[1] = 'A'; })},
      {"header block under 24 bytes", with([](std::string& b) { PutU32(b, 10, 37); })},
      {"header block past the end", with([](std::string& b) { PutU32(b, 10, 0xFFFFFFF0u); })},
      {"header block cut short", good.substr(0, 40)},
      {"32 bits per pixel", with([](std::string& b) { PutU16(b, 28, 32); })},
      {"8 bits per pixel", with([](std::string& b) { PutU16(b, 28, 8); })},
      {"compressed", with([](std::string& b) { PutU32(b, 30, 1); })},
      {"pixel data shorter than declared", with([](std::string& b) { PutU32(b, 34, 24 + 100); })},
      {"declared larger than any file", with([](std::string& b) { PutU32(b, 34, 0xFFFFFFFFu); })},
      {"declared too small for the rows", with([](std::string& b) { PutU32(b, 34, 12); })},
      {"rows far beyond the file",
       with([](std::string& b) {
         PutU32(b, 18, 0x7FFFFFFF);
         PutU32(b, 22, 0x80000000u);
         PutU32(b, 34, 0);
       })},
      {"negative width", with([](std::string& b) { PutU32(b, 18, 0xFFFFFFFCu); })},
  };
  ASSERT_EQ(good.size(), 54u + 2 * 12);
  for (const Case& c : cases) {
    Write(c.bytes);
    const int filesBefore = OpenFiles();
    renderer::Texture texture;
    EXPECT_FALSE(texture.LoadBmp(kPath)) << c.what;
    EXPECT_NE(texture.NamePlusOne(), 0u) << c.what;
    EXPECT_EQ(BoundTexture(), texture.NamePlusOne() - 1) << c.what;
    EXPECT_EQ(LevelWidth(0), 0) << c.what;
    EXPECT_EQ(OpenFiles(), filesBefore) << c.what << ": file left open";
  }
  // The good file itself loads.
  Write(good);
  EXPECT_TRUE(texture_.LoadBmp(kPath));
  EXPECT_EQ(LevelWidth(0), 4);
}

TEST_F(TextureFile, MissingFileLeavesABoundNameWithoutImage) {
  EXPECT_FALSE(texture_.LoadBmp(kPath));
  ExpectBoundName();
  EXPECT_EQ(LevelWidth(0), 0);
  // Loading again replaces the name; releasing empties the holder.
  EXPECT_FALSE(texture_.LoadBmp(kPath));
  ExpectBoundName();
  texture_.Release();
  EXPECT_EQ(texture_.NamePlusOne(), 0u);
}

TEST_F(TextureFile, LongPathsAreCutToTheFileNameField) {
  const std::string fits = "c:\\" + std::string(60, 'a');  // 63 characters
  const std::string tooLong = "c:\\" + std::string(200, 'b') + "\\Lorvane.bmp";
  EXPECT_FALSE(texture_.LoadBmp(fits));
  EXPECT_EQ(std::string(texture_.FileName()), fits);
  EXPECT_FALSE(texture_.LoadBmp(tooLong));
  EXPECT_EQ(std::string(texture_.FileName()), tooLong.substr(0, 63));
  ExpectBoundName();
}

}  // namespace
