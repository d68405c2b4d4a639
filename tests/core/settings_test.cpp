// The settings file: the three keys, their numbers, the derived folder, and the path operations.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "frontend/core/Lorvane_B.h"
#include "frontend/music/settings_state.h"
#include "tests/core/core_app.h"

namespace {

using coretest::WindowsPath;

const std::string kKind = "BGM\x8b\xe6\x95\xaa";
const std::string kRepeat = "BGM\xd8\xcb\xdf\xb0\xc4";
const std::string kFile = "BGM\xcc\xa7\xb2\xd9";

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.UseAsHome();
    Lorvane_BGM::BgmKind = 0;
    Lorvane_BGM::BgmRepeat = 0;
    Lorvane_BGM::BgmFile.clear();
    Lorvane_BGM::BgmFolder.clear();
  }
  // Writes Lorvane.ini into the program folder "prog" and loads it.
  void Load(const std::string& ini) {
    scratch.WriteFile("prog/Lorvane.ini", ini);
    Lorvane_B::LoadSettingsFrom(ProgramFolder() + "\\Lorvane.ini", ProgramFolder());
  }
  QString ProgramFolder() const { return WindowsPath(scratch, "prog"); }
  testsupport::ScratchFolder scratch;
};

TEST_F(Settings, NumbersAreRoundedDownAndOutOfRangeOrNonNumbersGiveZero) {
  struct Case {
    const char* text;
    int16_t value;
  };
  const Case cases[] = {
      {"2", 2},           {"1.7", 1},         {"-0.5", -1},      {"abc", 0},
      {"32767", 32767},   {"32768", 0},       {"-32768", -32768}, {"-32769", 0},
      {"32767.9", 32767}, {"1e3", 1000},      {"1e999", 0},      {"\"13\"", 13},
      {" 7 ", 7},         {"", 0},            {"+4", 4},         {"4x", 0},
      {".5", 0},          {"-", 0},           {"1e", 0},         {"99999999999999999999", 0},
  };
  for (const Case& c : cases) {
    Load("[Section]\r\n" + kKind + "=" + c.text + "\r\n" + kRepeat + "=" + c.text + "\r\n");
    // A sound-file source without a file falls back to none.
    EXPECT_EQ(Lorvane_BGM::BgmKind, c.value == 2 ? 0 : c.value) << c.text;
    EXPECT_EQ(Lorvane_BGM::BgmRepeat, c.value) << c.text;
  }
}

TEST_F(Settings, NoFileGivesTheDefaults) {
  Lorvane_B::LoadSettingsFrom(ProgramFolder() + "\\Lorvane.ini", ProgramFolder());
  EXPECT_EQ(Lorvane_BGM::BgmKind, 0);
  EXPECT_EQ(Lorvane_BGM::BgmRepeat, 0);
  EXPECT_TRUE(Lorvane_BGM::BgmFile.isEmpty());
  EXPECT_EQ(Lorvane_BGM::BgmFolder, ProgramFolder());
}

TEST_F(Settings, AMusicFileThatCannotBeOpenedIsClearedInMemoryOnly) {
  scratch.WriteFile("music/song.mp3", "ID3");
  QString song = WindowsPath(scratch, "music/song.mp3");
  std::string songBytes = song.toStdString();  // an ASCII path

  Load("[Section]\r\n" + kKind + "=2\r\n" + kFile + "=" + songBytes + "\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmKind, 2);
  EXPECT_EQ(Lorvane_BGM::BgmFile, song);
  EXPECT_EQ(Lorvane_BGM::BgmFolder, WindowsPath(scratch, "music"));

  const std::string missing =
      "[Section]\r\n" + kKind + "=2\r\n" + kRepeat + "=3\r\n" + kFile + "=" + songBytes + "x\r\n";
  Load(missing);
  EXPECT_EQ(Lorvane_BGM::BgmKind, 0);
  EXPECT_EQ(Lorvane_BGM::BgmRepeat, 3);
  EXPECT_TRUE(Lorvane_BGM::BgmFile.isEmpty());
  EXPECT_EQ(Lorvane_BGM::BgmFolder, ProgramFolder());
  EXPECT_EQ(scratch.ReadFile("prog/Lorvane.ini"), missing);  // loading never writes

  // An audio CD stays the source whatever the file holds.
  Load("[Section]\r\n" + kKind + "=1\r\n" + kFile + "=\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmKind, 1);
  Load("[Section]\r\n" + kKind + "=1\r\n" + kFile + "=" + songBytes + "x\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmKind, 1);
  // A sound-file source without a file falls back to none.
  Load("[Section]\r\n" + kKind + "=2\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmKind, 0);
}

TEST_F(Settings, AStoredPathIsCutTo255BytesBeforeItIsTested) {
  // A file whose Windows path is exactly 255 bytes, stored with 45 more bytes after it.
  std::string prefix = WindowsPath(scratch, "").toStdString() + "\\";
  std::string name(255 - prefix.size(), 'a');
  ASSERT_GT(name.size(), 0u);
  ASSERT_LT(name.size(), 256u);
  scratch.WriteFile(name, "x");
  Load("[Section]\r\n" + kKind + "=2\r\n" + kFile + "=" + prefix + name + std::string(45, 'b') +
       "\r\n");
  EXPECT_EQ(Lorvane_BGM::BgmFile.size(), 255);
  EXPECT_EQ(Lorvane_BGM::BgmKind, 2);
}

TEST_F(Settings, BadFilesLeaveTheDefaults) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) & 0xFF);
  const std::string files[] = {
      garbage,
      std::string(1 << 20, 'x'),                                        // one 1 MB line
      "[Section]\r" + kKind + "=\r2\r",                                 // lone CRs
      std::string("[Section]\r\n") + kKind + "=\0" + "2\r\n",           // a NUL before the value
      "[Section]\r\n" + kFile + "=\x81\x20\xff\r\n" + kKind + "=2\r\n",  // no code-page text
      "[Section\r\n" + kKind + "=2\r\n",                                // header without "]"
      "[Section]\r\n" + kKind + "\r\n",                                 // no "="
  };
  for (const std::string& file : files) {
    Load(file);
    EXPECT_EQ(Lorvane_BGM::BgmKind, 0);
    EXPECT_TRUE(Lorvane_BGM::BgmFile.isEmpty());
  }
}

TEST_F(Settings, SavingWritesTheKeysInTheirCodePageBytes) {
  QString ini = WindowsPath(scratch, "prog/Lorvane.ini");
  mkdir((scratch.Path() + "/prog").c_str(), 0755);
  const QString section = Lorvane_B::SettingsSection();
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmKind(), "2", ini);
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmRepeat(), "13", ini);
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmFile(),
                           QString::fromUtf8(u8"Z:\\音楽\\曲.mp3"), ini);
  EXPECT_EQ(scratch.ReadFile("prog/Lorvane.ini"),
            "[Section]\r\n" + kKind + "=2\r\n" + kRepeat + "=13\r\n" + kFile +
                "=Z:\\\x89\xb9\x8a\x79\\\x8b\xc8.mp3\r\n");
  EXPECT_EQ(Lorvane_B::ReadIniValue(section, QString::fromUtf8(u8"bgmﾌｧｲﾙ"), ini),
            QString::fromUtf8(u8"Z:\\音楽\\曲.mp3"));

  // A value the code page cannot hold is not written at all.
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmFile(), QString::fromUtf8(u8"😀"),
                           ini);
  EXPECT_EQ(Lorvane_B::ReadIniValue(section, Lorvane_B::KeyBgmFile(), ini),
            QString::fromUtf8(u8"Z:\\音楽\\曲.mp3"));
}

TEST_F(Settings, SavingIntoAnExistingFileMatchesTheFixture) {
  scratch.WriteFile("prog/Lorvane.ini", coretest::Fixture("settings_before.ini"));
  QString ini = WindowsPath(scratch, "prog/Lorvane.ini");
  const QString section = Lorvane_B::SettingsSection();
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmKind(), "2", ini);
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmRepeat(), "13", ini);
  Lorvane_B::WriteIniValue(section, Lorvane_B::KeyBgmFile(), "", ini);
  EXPECT_EQ(scratch.ReadFile("prog/Lorvane.ini"), coretest::Fixture("settings_after.ini"));

  Lorvane_B::LoadSettingsFrom(ini, ProgramFolder());
  EXPECT_EQ(Lorvane_BGM::BgmKind, 2 - 2);  // a sound file without a file falls back to none
  EXPECT_EQ(Lorvane_BGM::BgmRepeat, 13);
  EXPECT_TRUE(Lorvane_BGM::BgmFile.isEmpty());
}

TEST(Paths, FolderOfPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Music\\song.mp3", "C:\\Music"},
      {"C:\\song.mp3", "C:"},
      {"C:song.mp3", "C:"},
      {"\\\\server\\share\\song.mp3", "\\\\server\\share"},
      {"song.mp3", ""},
      {"C:/Music/song.mp3", "C:"},  // "/" separates nothing
      {"C:\\Music\\", "C:\\Music"},
      {"", ""},
      {"\\", ""},
  };
  for (const auto& [path, folder] : cases) {
    EXPECT_EQ(Lorvane_B::FolderOfPath(QString::fromUtf8(path)), QString::fromUtf8(folder)) << path;
  }
}

TEST(Paths, FileExistsOnlyForReadableFiles) {
  testsupport::ScratchFolder scratch;
  scratch.UseAsHome();
  scratch.WriteFile("a.mp3", "x");
  EXPECT_TRUE(Lorvane_B::FileExists(WindowsPath(scratch, "a.mp3")));
  EXPECT_TRUE(Lorvane_B::FileExists(WindowsPath(scratch, "a.mp3") + "\\"));
  EXPECT_FALSE(Lorvane_B::FileExists(WindowsPath(scratch, "a.mp3") + "\\\\"));
  EXPECT_FALSE(Lorvane_B::FileExists(WindowsPath(scratch, "")));  // a folder
  EXPECT_FALSE(Lorvane_B::FileExists(WindowsPath(scratch, "b.mp3")));
  EXPECT_FALSE(Lorvane_B::FileExists(""));
  EXPECT_FALSE(Lorvane_B::FileExists("\\"));
  EXPECT_FALSE(Lorvane_B::FileExists("Q:\\a.mp3"));
}

}  // namespace
