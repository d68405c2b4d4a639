#include "platform/qt/picture_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace {

uint32_t U32(const QByteArray& b, int at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const QByteArray& b, int at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// A picture whose every pixel says where it is.
QImage Pattern(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff));
  return image;
}

TEST(PictureFile, SpriteSizedBitmapHasTheFixedLayout) {
  const QImage picture = Pattern(256, 256);
  const QByteArray file = platform::BitmapFileOf(picture);
  ASSERT_EQ(file.size(), 14 + 40 + 256 * 768);
  EXPECT_EQ(file.left(2), "BM");
  EXPECT_EQ(U32(file, 2), 14u + 40u + 256u * 768u);
  EXPECT_EQ(U32(file, 6), 0u);    // both reserved words
  EXPECT_EQ(U32(file, 10), 54u);  // pixel data right after the headers
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 256u);
  EXPECT_EQ(U32(file, 22), 256u);  // positive: bottom row first
  EXPECT_EQ(U16(file, 26), 1u);
  EXPECT_EQ(U16(file, 28), 24u);
  EXPECT_EQ(U32(file, 30), 0u);  // no compression
  EXPECT_EQ(U32(file, 34), 256u * 768u);
  for (int at = 38; at < 54; at += 4) EXPECT_EQ(U32(file, at), 0u) << at;

  for (int row = 0; row < 256; ++row) {
    const int y = 255 - row;
    for (int x = 0; x < 256; ++x) {
      const int at = 54 + row * 768 + 3 * x;
      const QRgb expected = picture.pixel(x, y);
      ASSERT_EQ(static_cast<uint8_t>(file[at]), qBlue(expected)) << x << "," << y;
      ASSERT_EQ(static_cast<uint8_t>(file[at + 1]), qGreen(expected)) << x << "," << y;
      ASSERT_EQ(static_cast<uint8_t>(file[at + 2]), qRed(expected)) << x << "," << y;
    }
  }
}

TEST(PictureFile, RowsAreFilledToFourBytes) {
  const QByteArray file = platform::BitmapFileOf(Pattern(5, 2));
  ASSERT_EQ(file.size(), 54 + 2 * 16);
  EXPECT_EQ(U32(file, 34), 32u);
  EXPECT_EQ(file.mid(54 + 15, 1), QByteArray(1, '\0'));
  EXPECT_EQ(static_cast<uint8_t>(file[54 + 1]), 1u);       // first in the file: y 1, green = y
  EXPECT_EQ(static_cast<uint8_t>(file[54 + 16 + 1]), 0u);  // then y 0
  EXPECT_EQ(static_cast<uint8_t>(file[54 + 16 + 5]), 1u);  // its second pixel, red = x
  EXPECT_TRUE(platform::BitmapFileOf(QImage()).isEmpty());
}

class SavePicture : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.UseAsHome();
    std::filesystem::create_directories(scratch.DriveC());
  }
  std::string Texture() const { return scratch.DriveC() + "/ostrik/Lorvane.bmp"; }
  testsupport::ScratchFolder scratch;
};

TEST_F(SavePicture, ReplacesTheFileAndNeverWritesThroughALink) {
  std::filesystem::create_directories(scratch.DriveC() + "/ostrik");
  scratch.WriteFile("victim", "precious");
  ASSERT_EQ(symlink((scratch.Path() + "/victim").c_str(), Texture().c_str()), 0);

  ASSERT_TRUE(platform::SavePicture(Pattern(256, 256), "C:\\ostrik\\Lorvane.bmp"));
  EXPECT_EQ(scratch.ReadFile("victim"), "precious");
  struct stat st {};
  ASSERT_EQ(lstat(Texture().c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(std::filesystem::file_size(Texture()), 14u + 40u + 256u * 768u);

  // The drive letter ignores case, as the renderer writes it in lower case.
  ASSERT_TRUE(platform::SavePicture(Pattern(4, 4), "c:\\ostrik\\Lorvane.bmp"));
  EXPECT_EQ(std::filesystem::file_size(Texture()), 54u + 4u * 12u);
}

TEST_F(SavePicture, AFolderThatCannotHoldTheFileFailsWithoutWriting) {
  // A file where the folder should be stops even a privileged writer.
  scratch.WriteFile("home/.local/share/lorvane/drive_c/ostrik", "not a folder");
  EXPECT_FALSE(platform::SavePicture(Pattern(8, 8), "C:\\ostrik\\Lorvane.bmp"));
  EXPECT_EQ(scratch.ReadFile("home/.local/share/lorvane/drive_c/ostrik"), "not a folder");
  EXPECT_FALSE(platform::SavePicture(Pattern(8, 8), "Q:\\ostrik\\Lorvane.bmp"));
  EXPECT_FALSE(platform::SavePicture(QImage(), "C:\\Lorvane.bmp"));
  if (geteuid() != 0) {
    std::filesystem::remove(scratch.DriveC() + "/ostrik");
    std::filesystem::create_directories(scratch.DriveC() + "/ostrik");
    chmod((scratch.DriveC() + "/ostrik").c_str(), 0500);
    EXPECT_FALSE(platform::SavePicture(Pattern(8, 8), "C:\\ostrik\\Lorvane.bmp"));
    EXPECT_FALSE(std::filesystem::exists(Texture()));
  }
}

}  // namespace
