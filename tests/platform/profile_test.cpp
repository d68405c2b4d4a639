#include "platform/base/profile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "platform/base/drives.h"
#include "tests/support/scratch_folder.h"

namespace {

using platform::ProfileValue;
using platform::WithProfileValue;

struct ReadCase {
  const char* what;
  std::string contents;
  std::string section;
  std::string key;
  std::string expected;
};

TEST(Profile, ReadsWithTheRulesOfTheProfileFunctions) {
  const ReadCase cases[] = {
      {"plain", "[Section]\r\nk=v\r\n", "Section", "k", "v"},
      {"names ignore case", "[SECTION]\r\nKey=v\r\n", "section", "kEY", "v"},
      {"blanks around names and values", "  [ Section ]  \r\n\t k \t=  a b  \r\n", "Section",
       "k", "a b"},
      {"blanks around the asked names", "[Section]\r\nk=v\r\n", " Section ", " k ", "v"},
      {"double quotes", "[S]\r\nk=\" a \"\r\n", "S", "k", " a "},
      {"single quotes", "[S]\r\nk='a'\r\n", "S", "k", "a"},
      {"quotes that do not match", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
      {"a lone quote", "[S]\r\nk=\"\r\n", "S", "k", "\""},
      {"the first of duplicate keys", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
      {"a later section of the same name", "[S]\r\na=1\r\n[T]\r\nk=0\r\n[s]\r\nk=3\r\n", "S",
       "k", "3"},
      {"a key of another section", "[T]\r\nk=1\r\n", "S", "k", ""},
      {"a key before any section", "k=1\r\n[S]\r\n", "S", "k", ""},
      {"a comment", "[S]\r\n;k=1\r\n", "S", "k", ""},
      {"a line without =", "[S]\r\nk\r\n", "S", "k", ""},
      {"an empty value", "[S]\r\nk=\r\n", "S", "k", ""},
      {"= inside the value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
      {"a header without ]", "[S]\r\n[T\r\nk=1\r\n", "S", "k", "1"},
      {"LF line ends", "[S]\nk=1\n", "S", "k", "1"},
      {"lone CR line ends", "[S]\rj=0\rk=1", "S", "k", "1"},
      {"no line end at all", "[S]k=1", "S", "k", ""},
      {"a NUL ends the value", std::string("[S]\r\nk=ab\0cd\r\n", 14), "S", "k", "ab"},
      // ゾ is 83 5D: its trail byte is "]".
      {"a double-byte section name", "[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k", "1"},
      // ア (83 41) and ヂ (83 61) differ only in a trail byte that looks like a letter.
      {"trail bytes are not folded", "[S]\r\n\x83\x61=1\r\n\x83\x41=2\r\n", "S", "\x83\x41",
       "2"},
      {"the settings key", "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\n", "Section",
       "BGM\x8B\xE6\x95\xAA", "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileValue(c.contents, c.section, c.key, 256), c.expected) << c.what;
  }
}

TEST(Profile, TheBufferCutsLongValuesAtWholeCharacters) {
  std::string longValue(300, 'x');
  EXPECT_EQ(ProfileValue("[S]\r\nk=" + longValue + "\r\n", "S", "k", 256),
            std::string(255, 'x'));
  // A double-byte character at bytes 255 and 256 does not fit: the value stops before it.
  std::string straddling = std::string(254, 'x') + "\x82\xA0" + "yy";
  EXPECT_EQ(ProfileValue("[S]\r\nk=" + straddling + "\r\n", "S", "k", 256),
            std::string(254, 'x'));
  EXPECT_EQ(ProfileValue("[S]\r\nk=" + std::string(255, 'x') + "\r\n", "S", "k", 256).size(),
            255u);
  EXPECT_EQ(ProfileValue("[S]\r\nk=abc\r\n", "S", "k", 0), "");
}

struct WriteCase {
  const char* what;
  std::string before;
  std::string after;
};

TEST(Profile, WritesOneLineAndKeepsEveryOtherByte) {
  const WriteCase cases[] = {
      {"a new file", "", "[Section]\r\nk=v\r\n"},
      {"in place, other line ends kept", "a=1\n[Section]\n; c\nk=old\nz=2\n",
       "a=1\n[Section]\n; c\nk=v\r\nz=2\n"},
      {"in place, names in another case", "[SECTION]\r\n  K = old \r\n", "[SECTION]\r\nk=v\r\n"},
      {"the first of duplicates", "[Section]\r\nk=1\r\nk=2\r\n", "[Section]\r\nk=v\r\nk=2\r\n"},
      {"after the section's last entry", "[Section]\r\nx=1\r\n\r\n; next\r\n[Other]\r\ny=2\r\n",
       "[Section]\r\nx=1\r\nk=v\r\n\r\n; next\r\n[Other]\r\ny=2\r\n"},
      {"a header alone", "[Section]\n[B]\n", "[Section]\nk=v\r\n[B]\n"},
      {"the last line without its end", "[Section]\r\nx=1", "[Section]\r\nx=1\r\nk=v\r\n"},
      {"a new section after a last line without its end", "[A]\nb=1",
       "[A]\nb=1\r\n[Section]\r\nk=v\r\n"},
      {"a new section at the end", "[A]\r\nb=1\r\n", "[A]\r\nb=1\r\n[Section]\r\nk=v\r\n"},
      {"the first section of two", "[Section]\r\na=1\r\n[B]\r\n[Section]\r\nc=1\r\n",
       "[Section]\r\na=1\r\nk=v\r\n[B]\r\n[Section]\r\nc=1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithProfileValue(c.before, "Section", "k", "v"), c.after) << c.what;
  }
  EXPECT_EQ(WithProfileValue("", "Section", "k", ""), "[Section]\r\nk=\r\n");
}

TEST(Profile, RefusesWhatALineCannotHold) {
  EXPECT_EQ(WithProfileValue("", "S", "", "v"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "  ", "v"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "k", "a\nb=c"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "k", "a\rb"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "k", std::string("a\0b", 3)), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S]x", "k", "v"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "k=j", "v"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", "[k", "v"), std::nullopt);
  EXPECT_EQ(WithProfileValue("", "S", ";k", "v"), std::nullopt);
  // "]" as a trail byte is part of a character, not the end of a section name.
  EXPECT_EQ(WithProfileValue("", "\x83\x5D", "k", "v"), "[\x83\x5D]\r\nk=v\r\n");
}

TEST(Profile, SurvivesGarbage) {
  std::mt19937 random(7);
  std::vector<std::string> inputs;
  for (int n = 0; n < 50; ++n) {
    std::string bytes(static_cast<size_t>(random() % 4000), '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    inputs.push_back(bytes);
  }
  inputs.push_back(std::string(1 << 20, 'a'));                      // a 1 MB line
  inputs.push_back("[Section]\r\nk=" + std::string(1 << 20, 'x'));  // a 1 MB value
  inputs.push_back(std::string(1000, '\r'));
  inputs.push_back(std::string(1000, '\0'));
  inputs.push_back("[Section");
  inputs.push_back("[Section]\r\nk=\x81");    // a lead byte without its trail
  inputs.push_back("[Section]\r\n\x81=1\r\n");
  inputs.push_back("[\x81]\r\n");
  for (const auto& contents : inputs) {
    ProfileValue(contents, "Section", "k", 256);
    auto updated = WithProfileValue(contents, "Section", "k", "v");
    ASSERT_TRUE(updated);
    EXPECT_EQ(ProfileValue(*updated, "Section", "k", 256), "v");
  }
}

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override { scratch.UseAsHome(); }
  std::string Z(const std::string& relative) const {
    return *platform::WindowsPathOf(scratch.Path() + "/" + relative);
  }
  testsupport::ScratchFolder scratch;
};

TEST_F(ProfileFile, WritesAndReadsTheFile) {
  EXPECT_EQ(platform::ReadProfileString("Section", "k", Z("s.ini")), "");
  ASSERT_TRUE(platform::WriteProfileString("Section", "k", "1", Z("s.ini")));
  ASSERT_TRUE(platform::WriteProfileString("Section", "j", "2", Z("s.ini")));
  ASSERT_TRUE(platform::WriteProfileString("Section", "k", "3", Z("s.ini")));
  EXPECT_EQ(scratch.ReadFile("s.ini"), "[Section]\r\nk=3\r\nj=2\r\n");
  EXPECT_EQ(platform::ReadProfileString("Section", "K", Z("s.ini")), "3");
  EXPECT_EQ(platform::ReadProfileString("Section", "k", Z("s.ini"), 1), "");
  EXPECT_FALSE(platform::WriteProfileString("Section", "k", "1", "Q:\\s.ini"));
  EXPECT_EQ(platform::ReadProfileString("Section", "k", "Q:\\s.ini"), "");
}

TEST_F(ProfileFile, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_EQ(mkfifo((scratch.Path() + "/fifo.ini").c_str(), 0600), 0);
  EXPECT_FALSE(platform::WriteProfileString("Section", "k", "1", Z("fifo.ini")));
  struct stat st {};
  ASSERT_EQ(lstat((scratch.Path() + "/fifo.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(platform::ReadProfileString("Section", "k", Z("fifo.ini")), "");

  std::filesystem::create_directory(scratch.Path() + "/folder.ini");
  EXPECT_FALSE(platform::WriteProfileString("Section", "k", "1", Z("folder.ini")));
  EXPECT_TRUE(std::filesystem::is_directory(scratch.Path() + "/folder.ini"));
}

TEST_F(ProfileFile, AFullDiskLeavesTheOldFile) {
  const std::string old = "[Section]\r\nk=old\r\n";
  scratch.WriteFile("s.ini", old);
  // A file size limit makes writes fail the way a full disk does, for root too.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  bool written = platform::WriteProfileString("Section", "k", std::string(200, 'x'), Z("s.ini"));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(scratch.ReadFile("s.ini"), old);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
    ++files;
  EXPECT_EQ(files, 3u) << "home, run and s.ini only: no temporary file left behind";
}

}  // namespace
