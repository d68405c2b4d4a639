// Lorvane.scr /p <window>: the still star inside a window of another program, until that window
// goes away.
#include <QImage>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/integration/screensaver.h"
#include "tests/support/poll.h"
#include "tools/screenshot/screenshot.h"

namespace integration {
namespace {

using namespace std::chrono_literals;
using testsupport::PollUntil;

class Preview : public Screensaver {
 protected:
  // A mapped window of the test's own, standing in for the display settings' preview window.
  Window ParentWindow(int x0, int y0, int width, int height) {
    Window w = XCreateSimpleWindow(x.Get(), x.Root(), x0, y0, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, 0, 0x808080);
    XMapWindow(x.Get(), w);
    XSync(x.Get(), False);
    return w;
  }
  std::optional<Window> OnlyChild(Window parent) {
    Window root, up, *children = nullptr;
    unsigned count = 0;
    std::optional<Window> child;
    if (XQueryTree(x.Get(), parent, &root, &up, &children, &count) && count == 1)
      child = children[0];
    if (children) XFree(children);
    return child;
  }
  std::unique_ptr<testsupport::ChildProcess> StartPreview(const std::string& handle) {
    auto program = StartFrontEnd({"/p", handle});
    EXPECT_TRUE(program->Started());
    return program;
  }
};

bool IsBlack(QRgb p) { return qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0; }

TEST_F(Preview, ShowsTheStarAtTheTopLeftWithBlackAround) {
  struct Case { int width, height; };
  for (Case c : {Case{152, 112}, Case{200, 150}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    Window parent = ParentWindow(37, 21, c.width, c.height);
    auto program = StartPreview(std::to_string(parent));

    std::optional<Window> form;
    ASSERT_TRUE(PollUntil([&] {
      form = OnlyChild(parent);
      auto geometry = form ? x.GeometryOf(*form) : std::nullopt;
      return geometry && geometry->mapped;
    }));
    EXPECT_EQ(x.Title(*form), "Preview Window");
    // At 0, 0 of its parent, not at the parent's place on the screen.
    XWindowAttributes placed{};
    ASSERT_TRUE(XGetWindowAttributes(x.Get(), *form, &placed));
    EXPECT_EQ(placed.x, 0);
    EXPECT_EQ(placed.y, 0);
    EXPECT_EQ(placed.width, c.width);
    EXPECT_EQ(placed.height, c.height);
    EXPECT_EQ(placed.border_width, 0);

    // Drawn once the core is white; then the brightest pixel sits near 70, 45.
    QImage shot;
    ASSERT_TRUE(PollUntil([&] {
      shot = screenshot::Screenshot(x.Get(), parent);
      return !shot.isNull() && shot.pixel(70, 45) == qRgb(255, 255, 255);
    }));
    int bestX = 0, bestY = 0, best = -1;
    for (int y = 0; y < shot.height(); ++y)
      for (int x0 = 0; x0 < shot.width(); ++x0) {
        QRgb p = shot.pixel(x0, y);
        int light = qRed(p) + qGreen(p) + qBlue(p);
        if (light > best) { best = light; bestX = x0; bestY = y; }
      }
    EXPECT_LE(std::abs(bestX - 70), 3);
    EXPECT_LE(std::abs(bestY - 45), 3);
    // Pale blue glow: blue leads a little way out from the core.
    QRgb glow = shot.pixel(82, 45);
    EXPECT_GT(qBlue(glow), qRed(glow));
    EXPECT_GT(qBlue(glow), 60);
    int strayLight = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x0 = 0; x0 < shot.width(); ++x0)
        if ((x0 >= 152 || y >= 112) && !IsBlack(shot.pixel(x0, y))) ++strayLight;
    EXPECT_EQ(strayLight, 0) << "beyond the picture the form is black";

    // The display settings close the preview window: the preview ends with it.
    XDestroyWindow(x.Get(), parent);
    XSync(x.Get(), False);
    EXPECT_EQ(program->WaitForExit(5s), 0);
  }
}

TEST_F(Preview, CoversParentsWiderThanSixteenBitTwips) {
  // 2400 pixels are 36000 twips, past what a 16-bit size holds.
  Window parent = ParentWindow(0, 0, 2400, 40);
  auto program = StartPreview(std::to_string(parent));
  std::optional<Window> form;
  ASSERT_TRUE(PollUntil([&] {
    form = OnlyChild(parent);
    auto geometry = form ? x.GeometryOf(*form) : std::nullopt;
    return geometry && geometry->mapped;
  }));
  EXPECT_EQ(x.GeometryOf(*form)->width, 2400);
  EXPECT_EQ(x.GeometryOf(*form)->height, 40);
  XDestroyWindow(x.Get(), parent);
  XSync(x.Get(), False);
  EXPECT_EQ(program->WaitForExit(5s), 0);
}

TEST_F(Preview, AHandleThatNamesNoWindowEndsAtOnceShowingNothing) {
  Window gone = ParentWindow(0, 0, 10, 10);
  XDestroyWindow(x.Get(), gone);
  XSync(x.Get(), False);
  for (const std::string& handle : {std::string("0"), std::to_string(gone), std::string("abc")}) {
    SCOPED_TRACE(handle);
    auto program = StartPreview(handle);
    EXPECT_EQ(program->WaitForExit(10s), 0);
    EXPECT_FALSE(x.TopLevelTitled("Preview Window"));
  }
  // The preview starts neither the renderer nor the music and writes nothing.
  EXPECT_FALSE(std::filesystem::exists(TextureFile()));
}

}  // namespace
}  // namespace integration
