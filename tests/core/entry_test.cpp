// The entry procedure inside the test process: the switch letter, the preview handle, and which
// mode each argument string reaches.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "frontend/core/Lorvane_B.h"
#include "frontend/music/settings_state.h"
#include "platform/qt/cursor.h"
#include "tests/core/core_app.h"

namespace {

TEST(Switch, LetterIsTheSecondCharacterUpperCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"/s", "S"}, {"/S", "S"}, {"-s", "S"},    {"xs", "S"},  {"/p 1234", "P"},
      {"/c:1234", "C"}, {"/C", "C"}, {"", ""}, {"/", ""},    {" /s", "/"},
      {"/a", "A"}, {"/\xc3\xa4", "\xc3\x84"},
  };
  for (const auto& [arguments, letter] : cases) {
    Lorvane_B::ArgumentString = QString::fromUtf8(arguments);
    EXPECT_EQ(Lorvane_B::SwitchLetter(), QString::fromUtf8(letter)) << arguments;
  }
}

TEST(Switch, PreviewHandleIsADecimalNumberFromTheFourthCharacter) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"/p 1234", 1234},
      {"/p:1234", 1234},
      {"/P    77x9", 77},
      {"/p\t\t5", 5},
      {"/p", 0},
      {"/p ", 0},
      {"/p abc", 0},
      {"/p 4294967295", 4294967295u},
      {"/p 4294967296", 0},
      {"/p 99999999999999999999", 0},
      {"/p 000000000000000000000012", 12},
      {"/p -5", 0xFFFFFFFBu},
      {"/p -2147483648", 0x80000000u},
      {"/p -2147483649", 0},
      {"/p +8", 8},
      {"/p - 8", 0},
  };
  for (const auto& [arguments, handle] : cases) {
    Lorvane_B::ArgumentString = QString::fromUtf8(arguments);
    EXPECT_EQ(Lorvane_B::PreviewWindowHandle(), handle) << arguments;
  }
  // Any length and any characters.
  Lorvane_B::ArgumentString = "/p " + QString(100000, u'9');
  EXPECT_EQ(Lorvane_B::PreviewWindowHandle(), 0u);
  Lorvane_B::ArgumentString = QString(QChar(0xD800)) + QChar(0) + QChar(0xFFFF) + "12";
  EXPECT_EQ(Lorvane_B::PreviewWindowHandle(), 12u);
}

// Records which mode Main hands over to.
class RecordingModes : public Lorvane_B::Modes {
 public:
  bool Preview(uint32_t previewWindow) override {
    calls.push_back("preview " + std::to_string(previewWindow));
    return true;
  }
  void SettingsDialog() override { calls.push_back("dialog"); }
  bool Run() override {
    calls.push_back("run");
    return true;
  }
  std::vector<std::string> calls;
};

class Entry : public ::testing::Test {
 protected:
  void SetUp() override {
    coretest::App();
    scratch.UseAsHome();
    // No X display: no other instance can be found.
    unsetenv("DISPLAY");
    scratch.WriteFile("prog/Lorvane.ini", "[Section]\r\nBGM\x8b\xe6\x95\xaa=1\r\n");
  }
  bool FolderCreated() const {
    struct stat st {};
    return stat((scratch.DriveC() + "/ostrik").c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  QString ProgramFolder() const { return coretest::WindowsPath(scratch, "prog"); }
  testsupport::ScratchFolder scratch;
  RecordingModes modes;
};

TEST_F(Entry, EachSwitchReachesItsMode) {
  scratch.WriteFile("prog/Lorvane.dll", "");
  struct Case {
    const char* arguments;
    const char* mode;  // empty: none
    bool stays;        // Main's result
    bool hidesCursor;
    bool prepares;  // folder created and settings loaded
  };
  const Case cases[] = {
      {"/s", "run", true, true, true},
      {"/S", "run", true, true, true},
      {"-s", "run", true, true, true},
      {"", "run", true, false, true},
      {"/c", "dialog", false, false, true},
      {"/C:1234", "dialog", false, false, true},
      {"/p 1234", "preview 1234", true, false, false},
      {"-P 99", "preview 99", true, false, false},
      {"/a", "", false, false, true},
      {" /s", "", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::filesystem::remove_all(scratch.DriveC() + "/ostrik");
    Lorvane_BGM::BgmKind = 7;
    modes.calls.clear();
    Lorvane_B::CursorCount = 42;
    Lorvane_B::ArgumentString = QString::fromUtf8(c.arguments);

    int32_t before = platform::ShowCursor(true) - 1;
    platform::ShowCursor(false);
    EXPECT_EQ(Lorvane_B::Main(modes, ProgramFolder()), c.stays);

    std::vector<std::string> expected;
    if (*c.mode) expected.push_back(c.mode);
    EXPECT_EQ(modes.calls, expected);
    if (c.hidesCursor) {
      EXPECT_EQ(Lorvane_B::CursorCount, before - 1);
      platform::ShowCursor(true);
    } else {
      EXPECT_EQ(Lorvane_B::CursorCount, 42);
    }
    EXPECT_EQ(platform::ShowCursor(true) - 1, before);
    platform::ShowCursor(false);
    EXPECT_EQ(FolderCreated(), c.prepares);
    EXPECT_EQ(Lorvane_BGM::BgmKind, c.prepares ? 1 : 7);
  }
}

// Closes the message box once it is up and keeps what it showed.
struct BoxWatcher {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::Warning;
  QMessageBox::StandardButtons buttons;
  int seen = 0;
  QTimer timer;
  BoxWatcher() {
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      ++seen;
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      buttons = box->standardButtons();
      box->button(QMessageBox::Ok)->click();
    });
    timer.start();
  }
};

TEST_F(Entry, AMissingRendererIsReportedAndNoModeStarts) {
  for (const char* arguments : {"/c", "/s", ""}) {
    SCOPED_TRACE(arguments);
    modes.calls.clear();
    Lorvane_B::ArgumentString = QString::fromUtf8(arguments);
    BoxWatcher watcher;
    EXPECT_FALSE(Lorvane_B::Main(modes, ProgramFolder()));
    EXPECT_EQ(watcher.seen, 1);
    EXPECT_EQ(watcher.text, QString::fromUtf8(u8"Lorvane.dll が同じﾌｫﾙﾀﾞに見つかりません！"));
    EXPECT_EQ(watcher.title, QStringLiteral("Lorvane (ScreenSaver)"));
    EXPECT_EQ(watcher.icon, QMessageBox::NoIcon);
    EXPECT_EQ(watcher.buttons, QMessageBox::Ok);
    EXPECT_TRUE(modes.calls.empty());
    EXPECT_TRUE(FolderCreated());
  }
  // The preview comes before the check.
  Lorvane_B::ArgumentString = "/p 1234";
  EXPECT_TRUE(Lorvane_B::Main(modes, ProgramFolder()));
  EXPECT_EQ(modes.calls, std::vector<std::string>{"preview 1234"});
}

TEST_F(Entry, ArgumentStringsOfAnyLengthAndCharacters) {
  scratch.WriteFile("prog/Lorvane.dll", "");
  const QString strings[] = {
      QString(1 << 20, u'x'),
      QString(QChar(0xD800)) + QChar(0xDC00),
      QString(QChar(0)) + QChar(0),
      QString::fromUtf8(u8"/ß"),
  };
  for (const QString& arguments : strings) {
    Lorvane_B::ArgumentString = arguments;
    EXPECT_FALSE(Lorvane_B::Main(modes, ProgramFolder()));
  }
  EXPECT_TRUE(modes.calls.empty());
}

}  // namespace
