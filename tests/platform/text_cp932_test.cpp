#include "platform/base/text_cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, KeysOfTheSettingsFileHaveTheirJapaneseBytes) {
  EXPECT_EQ(platform::Cp932FromUtf8("BGM区分"), std::string("BGM\x8B\xE6\x95\xAA"));
  EXPECT_EQ(platform::Cp932FromUtf8("BGMﾘﾋﾟｰﾄ"), std::string("BGM\xD8\xCB\xDF\xB0\xC4"));
  EXPECT_EQ(platform::Cp932FromUtf8("BGMﾌｧｲﾙ"), std::string("BGM\xCC\xA7\xB2\xD9"));
}

TEST(Cp932, BackslashIsByte5CBothWays) {
  EXPECT_EQ(platform::Cp932FromUtf8("C:\\ostrik"), std::string("C:\\ostrik"));
  // 0x83 0x5C is one character (ソ) whose second byte is 0x5C.
  EXPECT_EQ(platform::Utf8FromCp932("\x83\x5C\\"), std::string("ソ\\"));
}

TEST(Cp932, TextTheCodePageCannotHoldIsRefusedNotChanged) {
  EXPECT_EQ(platform::Cp932FromUtf8("café"), std::nullopt);
  EXPECT_EQ(platform::Cp932FromUtf8("¥"), std::nullopt);  // would fold onto the backslash
  EXPECT_EQ(platform::Cp932FromUtf8("\xFF\xFE"), std::nullopt);  // not UTF-8
  EXPECT_EQ(platform::Utf8FromCp932("\x83"), std::nullopt);  // lead byte without its partner
  EXPECT_EQ(platform::Utf8FromCp932(""), std::string());
}

TEST(Cp932, LongTextsConvertWhole) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "区";
  auto cp932 = platform::Cp932FromUtf8(utf8);
  ASSERT_TRUE(cp932);
  EXPECT_EQ(cp932->size(), 10000u);
  EXPECT_EQ(platform::Utf8FromCp932(*cp932), utf8);
}

}  // namespace
