// The real Lorvane.scr on a private X server, started from a folder of its own (its program
// folder), beside a Lorvane.dll or without one.
#include <gtest/gtest.h>

// Qt before Xlib, whose macros clash with Qt's names.
#include <QImage>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/poll.h"
#include "tests/support/sanitizer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"
#include "tools/screenshot/screenshot.h"

namespace {

using namespace std::chrono_literals;

const char kBoxTitle[] = "Lorvane (ScreenSaver)";
const char kBoxText[] = "Lorvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.Running());
    ASSERT_TRUE(x);
    std::filesystem::create_directories(scratch.Path() + "/prog");
    std::filesystem::copy_file(std::string(LORVANE_BIN_DIR) + "/Lorvane.scr", ProgramFile());
  }
  std::string ProgramFile() const { return scratch.Path() + "/prog/Lorvane.scr"; }
  // Any executable file of that name passes the check for the renderer.
  void AddRenderer() const {
    scratch.WriteFile("prog/Lorvane.dll", "#!/bin/sh\n");
    chmod((scratch.Path() + "/prog/Lorvane.dll").c_str(), 0755);
  }
  std::map<std::string, std::string> Environment() const {
    auto env = scratch.HomeEnvironment();
    env.merge(testsupport::SanitizerEnvironment());
    env["DISPLAY"] = xvfb.Display();
    env["QT_QPA_PLATFORM"] = "xcb";
    return env;
  }
  bool FolderCreated() const {
    struct stat st {};
    return stat((scratch.DriveC() + "/ostrik").c_str(), &st) == 0;
  }
  // An unmapped top-level window of this process, titled as given.
  Window ForeignWindow(const char* title) const {
    Window w = XCreateSimpleWindow(x.Get(), x.Root(), 0, 0, 10, 10, 0, 0, 0);
    XStoreName(x.Get(), w, title);
    XSync(x.Get(), False);
    return w;
  }
  void AskToClose(Window w) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(x.Get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x.Get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x.Get(), w, False, NoEventMask, &event);
    XFlush(x.Get());
  }

  testsupport::XvfbServer xvfb;
  testsupport::XConnection x{xvfb.Display()};
  testsupport::ScratchFolder scratch;
};

TEST_F(Program, RefusesToStartBesideAnotherInstancesWindow) {
  for (const char* title : {"lorvane_main", "<LORVANE>"}) {
    SCOPED_TRACE(title);
    Window foreign = ForeignWindow(title);
    // Without the renderer a start that is not refused would show its message and wait.
    testsupport::ChildProcess program(ProgramFile(), {"/c"}, Environment());
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.WaitForExit(10s), 0);
    EXPECT_FALSE(FolderCreated());
    XDestroyWindow(x.Get(), foreign);
    XSync(x.Get(), False);
  }
}

TEST_F(Program, AnOtherSwitchEndsAtOnceAfterCreatingTheFolder) {
  AddRenderer();
  testsupport::ChildProcess program(ProgramFile(), {"/a"}, Environment());
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(program.WaitForExit(10s), 0);
  EXPECT_TRUE(FolderCreated());
  EXPECT_FALSE(x.TopLevelTitled(kBoxTitle));
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "/prog/Lorvane.ini"));
}

TEST_F(Program, ConfigureWithoutTheRendererShowsTheMessageAndNoDialog) {
  testsupport::ChildProcess program(ProgramFile(), {"/c"}, Environment());
  ASSERT_TRUE(program.Started());
  std::optional<Window> box;
  ASSERT_TRUE(testsupport::PollUntil([&] { return (box = x.TopLevelTitled(kBoxTitle)).has_value(); }));
  EXPECT_TRUE(FolderCreated());
  EXPECT_FALSE(x.TopLevelTitled("<Lorvane>"));
  EXPECT_TRUE(program.Running());

  // Closing the message ends the program, with no dialog ever shown.
  AskToClose(*box);
  EXPECT_EQ(program.WaitForExit(10s), 0);
  EXPECT_FALSE(x.TopLevelTitled("<Lorvane>"));
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "/prog/Lorvane.ini"));
}

// The pixels of a message box, once drawn, on a display of its own; a null image when it does
// not settle in time.
QImage SettledPicture(testsupport::XConnection& display, const char* title) {
  std::optional<Window> box;
  QImage last;
  QImage settled;
  testsupport::PollUntil([&] {
    if (!box) box = display.TopLevelTitled(title);
    if (!box) return false;
    QImage now = screenshot::Screenshot(display.Get(), *box);
    if (!now.isNull() && now == last) settled = now;
    last = now;
    return !settled.isNull();
  }, 10s, 50ms);
  return settled;
}

// The text of the real program's message is checked by its pixels: the same box drawn by a probe
// with the expected text, on another display of the same kind, looks exactly alike, and one with
// a text that differs by one character does not.
TEST_F(Program, TheMissingRendererMessageShowsItsText) {
  testsupport::ChildProcess program(ProgramFile(), {"/s"}, Environment());
  ASSERT_TRUE(program.Started());
  std::optional<Window> box;
  ASSERT_TRUE(testsupport::PollUntil([&] { return (box = x.TopLevelTitled(kBoxTitle)).has_value(); }));

  testsupport::XvfbServer other(xvfb.Width(), xvfb.Height());
  ASSERT_TRUE(other.Running());
  testsupport::XConnection otherX(other.Display());
  auto probeEnvironment = Environment();
  probeEnvironment["DISPLAY"] = other.Display();
  QImage expected, wrong;
  {
    testsupport::ChildProcess probe(MESSAGE_BOX_PROBE, {kBoxText, kBoxTitle}, probeEnvironment);
    expected = SettledPicture(otherX, kBoxTitle);
  }
  ASSERT_FALSE(expected.isNull());
  {
    std::string shorter = kBoxText;
    shorter.resize(shorter.size() - std::string("！").size());
    ASSERT_TRUE(testsupport::PollUntil([&] { return !otherX.TopLevelTitled(kBoxTitle); }));
    testsupport::ChildProcess probe(MESSAGE_BOX_PROBE, {shorter, kBoxTitle}, probeEnvironment);
    wrong = SettledPicture(otherX, kBoxTitle);
  }
  ASSERT_FALSE(wrong.isNull());
  EXPECT_NE(wrong, expected);

  EXPECT_TRUE(testsupport::PollUntil(
      [&] { return screenshot::Screenshot(x.Get(), *box) == expected; }, 10s, 50ms));
  AskToClose(*box);
  EXPECT_EQ(program.WaitForExit(10s), 0);
}

}  // namespace
