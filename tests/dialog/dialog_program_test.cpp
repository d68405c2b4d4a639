// The real program under a private X server, driven as a user drives it with xdotool: open the
// settings with /c, choose the audio CD and a track, press 設定, and find both in the settings
// file and in the dialog when it opens again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/child_process.h"
#include "tests/support/poll.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"
#include "tools/screenshot/screenshot.h"

namespace {

using namespace std::chrono_literals;

std::string ProgramOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    std::filesystem::path candidate = std::filesystem::path(folder) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return name;
}

const std::string kSettings = std::string("[Section]\r\n") + "BGM\x8B\xE6\x95\xAA=1\r\n" +
                              "BGM\xD8\xCB\xDF\xB0\xC4=7\r\n" + "BGM\xCC\xA7\xB2\xD9=\r\n";

class DialogProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Running());
    ASSERT_TRUE(x);
    // The program and a renderer file side by side in a folder of their own: the settings file
    // is written there. Configure mode only checks that the renderer is present.
    std::filesystem::create_directories(app);
    std::filesystem::copy_file(std::string(LORVANE_BIN_DIR) + "/Lorvane.scr", app + "/Lorvane.scr");
    scratch.WriteFile("app/Lorvane.dll", "");
    env = scratch.HomeEnvironment();
    env["DISPLAY"] = server.Display();
    env["QT_QPA_PLATFORM"] = "xcb";
  }

  std::unique_ptr<testsupport::ChildProcess> OpenSettings() {
    auto program = std::make_unique<testsupport::ChildProcess>(
        app + "/Lorvane.scr", std::vector<std::string>{"/c"}, env, scratch.Path() + "/out.txt");
    EXPECT_TRUE(program->Started());
    return program;
  }

  // The dialog's window once it is on screen with its gradient drawn.
  std::optional<testsupport::XConnection::Geometry> WaitForDialog() {
    std::optional<testsupport::XConnection::Geometry> geometry;
    bool drawn = testsupport::PollUntil(
        [&] {
          auto window = x.TopLevelTitled("<Lorvane>");
          if (!window) return false;
          geometry = x.GeometryOf(*window);
          if (!geometry || !geometry->mapped) return false;
          dialog = *window;
          const QImage shot = screenshot::Screenshot(x.Get(), dialog);
          // The pale middle of the background, and a button drawn.
          return !shot.isNull() && QColor(shot.pixel(5, 121)) == QColor(220, 220, 250) &&
                 QColor(shot.pixel(324 + 38, 200 + 3)) != QColor(220, 220, 250);
        },
        20s, 20ms);
    if (!drawn) return std::nullopt;
    return geometry;
  }

  void Xdotool(const std::vector<std::string>& args) {
    testsupport::ChildProcess tool(xdotool, args, env);
    ASSERT_TRUE(tool.Started());
    EXPECT_EQ(tool.WaitForExit(10s), 0);
  }
  // A click on the point (x, y) of the dialog's client area: the pointer moves there first.
  void ClickAt(const testsupport::XConnection::Geometry& g, int px, int py) {
    Xdotool({"mousemove", "--sync", std::to_string(g.x + px + 1), std::to_string(g.y + py + 1)});
    Xdotool({"mousemove", "--sync", std::to_string(g.x + px), std::to_string(g.y + py)});
    Xdotool({"click", "1"});
  }

  testsupport::XvfbServer server{640, 480};
  testsupport::XConnection x{server.Display()};
  testsupport::ScratchFolder scratch;
  const std::string app = scratch.Path() + "/app";
  const std::string xdotool = ProgramOnPath("xdotool");
  std::map<std::string, std::string> env;
  unsigned long dialog = 0;
};

TEST_F(DialogProgram, ChoosingTheCdAndATrackIsSavedAndShownAgain) {
  {
    auto program = OpenSettings();
    auto g = WaitForDialog();
    ASSERT_TRUE(g.has_value()) << scratch.ReadFile("out.txt");
    // Centred across a 640 x 480 screen, one third down.
    EXPECT_EQ(g->width, 496);
    EXPECT_EQ(g->height, 243);
    EXPECT_NEAR(g->x, (640 - 496) / 2, 1);
    EXPECT_NEAR(g->y, (480 - 243) / 3, 1);

    ClickAt(*g, 12 + 44 + 10, 16 + 56 + 6);    // the label "音楽CD"
    ClickAt(*g, 12 + 112 + 12, 16 + 52 + 10);  // into the track box, now enabled
    Xdotool({"key", "ctrl+a"});
    Xdotool({"type", "7"});
    ClickAt(*g, 324 + 38, 200 + 12);  // 設定
    EXPECT_EQ(program->WaitForExit(20s), 0) << scratch.ReadFile("out.txt");
  }
  EXPECT_EQ(scratch.ReadFile("app/Lorvane.ini"), kSettings);

  {
    auto program = OpenSettings();
    auto g = WaitForDialog();
    ASSERT_TRUE(g.has_value()) << scratch.ReadFile("out.txt");
    // Row 1 shows the selected marker, rows 0 and 2 the unselected one.
    const std::string pictures = std::string(LORVANE_SOURCE_DIR) + "/frontend/resources/pictures/";
    const QImage selected = QImage(QString::fromStdString(pictures + "marker_selected.png"))
                                .convertToFormat(QImage::Format_RGB32);
    const QImage unselected = QImage(QString::fromStdString(pictures + "marker_unselected.png"))
                                  .convertToFormat(QImage::Format_RGB32);
    const QImage shot =
        screenshot::Screenshot(x.Get(), dialog).convertToFormat(QImage::Format_RGB32);
    auto marker = [&](int top) { return shot.copy(12 + 28, 16 + top, 12, 12); };
    EXPECT_EQ(marker(56), selected);
    EXPECT_EQ(marker(76), unselected);
    EXPECT_EQ(marker(96), unselected);

    ClickAt(*g, 404 + 38, 200 + 12);  // ｷｬﾝｾﾙ
    EXPECT_EQ(program->WaitForExit(20s), 0);
  }
  EXPECT_EQ(scratch.ReadFile("app/Lorvane.ini"), kSettings);
}

}  // namespace
