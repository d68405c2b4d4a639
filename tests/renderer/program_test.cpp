// Lorvane.dll itself on a private X server: its window, the burst, and every way it ends.
#include "tools/screenshot/screenshot.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "tests/renderer/bitmap_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/poll.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"

namespace {

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using testsupport::PollUntil;

constexpr char kProgram[] = LORVANE_BIN_DIR "/Lorvane.dll";
constexpr char kTitle[] = "Lorvane_VC";
constexpr char kTextureFile[] = "home/.local/share/lorvane/drive_c/ostrik/Lorvane.bmp";

// Sum of red, green and blue over the middle ninth of the picture.
long CentreLight(const QImage& image) {
  long sum = 0;
  for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
    for (int x = image.width() / 3; x < image.width() * 2 / 3; ++x) {
      QRgb p = image.pixel(x, y);
      sum += qRed(p) + qGreen(p) + qBlue(p);
    }
  return sum;
}

std::vector<Atom> AtomList(Display* display, Window window, const char* property) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::vector<Atom> atoms;
  if (XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 64, False,
                         AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
      data && format == 32) {
    auto* values = reinterpret_cast<unsigned long*>(data);
    atoms.assign(values, values + count);
  }
  if (data) XFree(data);
  return atoms;
}

class Renderer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Running());
    ASSERT_TRUE(x_);
  }

  std::map<std::string, std::string> Environment() const {
    auto env = home_.HomeEnvironment();
    env["DISPLAY"] = server_.Display();
    return env;
  }

  // Starts the renderer and waits for its window to be mapped.
  void Start(bool withTexture = true) {
    if (withTexture) home_.WriteFile(kTextureFile, renderertest::SoftBlobFile());
    program_ = std::make_unique<ChildProcess>(kProgram, std::vector<std::string>{}, Environment());
    ASSERT_TRUE(program_->Started());
    ASSERT_TRUE(PollUntil([&] {
      window_ = x_.TopLevelTitled(kTitle);
      auto geometry = window_ ? x_.GeometryOf(*window_) : std::nullopt;
      return geometry && geometry->mapped;
    }));
  }

  bool Xdotool(const std::vector<std::string>& args) {
    ChildProcess tool("/usr/bin/xdotool", args, {{"DISPLAY", server_.Display()}});
    return tool.WaitForExit(10s) == 0;
  }

  QImage Shot() const { return screenshot::Screenshot(x_.Get(), *window_); }

  bool BurstVisible() {
    return PollUntil([&] { return CentreLight(Shot()) > 400'000; });
  }

  // Two new frames on screen: the loop has since drained every event sent before.
  bool TwoFramesLater() {
    for (int i = 0; i < 2; ++i) {
      QImage before = Shot();
      if (!PollUntil([&] { return Shot() != before; })) return false;
    }
    return true;
  }

  testsupport::XvfbServer server_{320, 240};
  testsupport::XConnection x_{server_.Display()};
  testsupport::ScratchFolder home_;
  std::unique_ptr<ChildProcess> program_;
  std::optional<Window> window_;
};

// With RandR's primary output set, and without one (the whole screen).
class RendererOnScreen : public Renderer, public ::testing::WithParamInterface<bool> {};

TEST_P(RendererOnScreen, CoversTheScreenBorderlessAndTitled) {
  Display* d = x_.Get();
  if (GetParam()) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, x_.Root());
    ASSERT_TRUE(resources && resources->noutput > 0);
    XRRSetOutputPrimary(d, x_.Root(), resources->outputs[0]);
    XRRFreeScreenResources(resources);
    ASSERT_NE(XRRGetOutputPrimary(d, x_.Root()), 0u);
  }
  Start();
  EXPECT_EQ(x_.Title(*window_), kTitle);
  EXPECT_EQ(x_.NetTitle(*window_), kTitle);
  EXPECT_EQ(x_.ClassName(*window_), kTitle);
  auto geometry = x_.GeometryOf(*window_);
  EXPECT_EQ(geometry->x, 0);
  EXPECT_EQ(geometry->y, 0);
  EXPECT_EQ(geometry->width, 320);
  EXPECT_EQ(geometry->height, 240);

  // No decorations; full screen asked of a window manager, not "above".
  auto motif = AtomList(d, *window_, "_MOTIF_WM_HINTS");
  ASSERT_EQ(motif.size(), 5u);
  EXPECT_TRUE(motif[0] & 2);
  EXPECT_EQ(motif[2], 0u);
  auto state = AtomList(d, *window_, "_NET_WM_STATE");
  EXPECT_EQ(state, std::vector<Atom>{XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False)});
  auto protocols = AtomList(d, *window_, "WM_PROTOCOLS");
  EXPECT_NE(std::find(protocols.begin(), protocols.end(), XInternAtom(d, "WM_DELETE_WINDOW", False)),
            protocols.end());

  // It takes the keyboard focus, and the pointer over it is blank.
  EXPECT_TRUE(PollUntil([&] {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus == *window_;
  }));
  EXPECT_TRUE(PollUntil([&] {
    XFixesCursorImage* cursor = XFixesGetCursorImage(d);
    bool blank = cursor && std::all_of(cursor->pixels,
                                       cursor->pixels + cursor->width * cursor->height,
                                       [](unsigned long p) { return (p >> 24) == 0; });
    if (cursor) XFree(cursor);
    return blank;
  }));
}

// Xlib defines Bool: the values are spelt out.
INSTANTIATE_TEST_SUITE_P(Output, RendererOnScreen, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Primary" : "NoPrimary";
                         });

TEST_F(Renderer, BurstShowsOnceParticlesGrow) {
  Start();
  ASSERT_TRUE(BurstVisible());
  // The squares share the centre: it is lit more than the corners.
  QImage image = Shot();
  screenshot::SavePng(image, "renderer_burst.png");
  QRgb centre = image.pixel(160, 120);
  QRgb corner = image.pixel(2, 2);
  EXPECT_GT(qRed(centre) + qGreen(centre) + qBlue(centre), qRed(corner) + qGreen(corner) + qBlue(corner));
}

TEST_F(Renderer, EscapeEndsItWithZeroWithinASecond) {
  Start();
  ASSERT_TRUE(BurstVisible());
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  EXPECT_EQ(program_->WaitForExit(1s), 0);
  EXPECT_FALSE(x_.TopLevelTitled(kTitle));
}

TEST_F(Renderer, CloseRequestEndsItWithZero) {
  Start();
  Display* d = x_.Get();
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = *window_;
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, *window_, False, NoEventMask, &close);
  XFlush(d);
  EXPECT_EQ(program_->WaitForExit(10s), 0);
}

TEST_F(Renderer, OtherKeysAndTheMouseLeaveItRunning) {
  Start();
  ASSERT_TRUE(BurstVisible());
  ASSERT_TRUE(Xdotool({"key", "a", "Return", "space", "alt+F4", "ctrl+c", "q"}));
  ASSERT_TRUE(Xdotool({"mousemove", "10", "10", "click", "1", "click", "3", "mousemove", "300",
                       "200"}));
  ASSERT_TRUE(TwoFramesLater());
  EXPECT_TRUE(program_->Running());
  EXPECT_TRUE(x_.TopLevelTitled(kTitle));
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  EXPECT_EQ(program_->WaitForExit(10s), 0);
}

TEST_F(Renderer, MissingTextureStillGivesTintedSquares) {
  Start(/*withTexture=*/false);
  ASSERT_TRUE(BurstVisible());
  EXPECT_TRUE(program_->Running());
  ASSERT_TRUE(Xdotool({"key", "Escape"}));
  EXPECT_EQ(program_->WaitForExit(10s), 0);
}

TEST(RendererWithoutDisplay, EndsWithZero) {
  testsupport::ScratchFolder home;
  for (const char* display : {"", ":9999"}) {
    auto env = home.HomeEnvironment();
    env["DISPLAY"] = display;
    ChildProcess program(kProgram, {}, env);
    EXPECT_EQ(program.WaitForExit(10s), 0) << "DISPLAY=" << display;
  }
}

TEST(RendererWithoutDisplay, DisplayGoingAwayEndsItWithZero) {
  testsupport::ScratchFolder home;
  auto server = std::make_unique<testsupport::XvfbServer>(160, 120);
  ASSERT_TRUE(server->Running());
  auto env = home.HomeEnvironment();
  env["DISPLAY"] = server->Display();
  ChildProcess program(kProgram, {}, env);
  {
    testsupport::XConnection x(server->Display());
    ASSERT_TRUE(PollUntil([&] { return x.TopLevelTitled(kTitle).has_value(); }));
  }
  server.reset();
  EXPECT_EQ(program.WaitForExit(10s), 0);
}

}  // namespace
