#include "platform/x11/window_search.h"

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdlib.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"

namespace {

class WindowSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Running());
    ASSERT_TRUE(x);
    setenv("DISPLAY", server.Display().c_str(), 1);
  }

  Window Create(Window parent) {
    Window w = XCreateSimpleWindow(x.Get(), parent, 0, 0, 10, 10, 0, 0, 0);
    XSync(x.Get(), False);
    return w;
  }
  void SetWmName(Window w, const std::string& latin1) {
    XChangeProperty(x.Get(), w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()),
                    static_cast<int>(latin1.size()));
    XSync(x.Get(), False);
  }
  void SetNetWmName(Window w, const std::string& utf8) {
    XChangeProperty(x.Get(), w, XInternAtom(x.Get(), "_NET_WM_NAME", False),
                    XInternAtom(x.Get(), "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
    XSync(x.Get(), False);
  }
  // What a window manager puts on the client windows it manages.
  void SetWmState(Window w) {
    Atom state = XInternAtom(x.Get(), "WM_STATE", False);
    long data[2] = {1, 0};
    XChangeProperty(x.Get(), w, state, state, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data), 2);
    XSync(x.Get(), False);
  }

  testsupport::XvfbServer server{64, 64};
  testsupport::XConnection x{server.Display()};
};

TEST_F(WindowSearch, FindsTopLevelsByEitherTitleIgnoringCase) {
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main"), 0u);
  Window hidden = Create(x.Root());
  SetWmName(hidden, "Lorvane_Main");
  Window mapped = Create(x.Root());
  SetNetWmName(mapped, "<Lorvane>");
  XMapWindow(x.Get(), mapped);
  Window latin1 = Create(x.Root());
  SetWmName(latin1, "Caf\xE9");
  XSync(x.Get(), False);

  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main"), hidden);
  EXPECT_EQ(platform::FindTopLevelWindow("lorvane_main"), hidden);
  EXPECT_EQ(platform::FindTopLevelWindow("LORVANE_MAIN"), hidden);
  EXPECT_EQ(platform::FindTopLevelWindow("<LORVANE>"), mapped);
  EXPECT_EQ(platform::FindTopLevelWindow("caf\xC3\xA9"), latin1);
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Mai"), 0u);
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main2"), 0u);
  EXPECT_EQ(platform::FindTopLevelWindow(""), 0u);
}

TEST_F(WindowSearch, LooksThroughFramesToClientsOnly) {
  // A frame as a reparenting window manager makes it: the client, one level down, has WM_STATE.
  Window frame = Create(x.Root());
  Window client = Create(frame);
  SetWmName(client, "Lorvane_VC");
  SetWmState(client);
  EXPECT_EQ(platform::FindTopLevelWindow("lorvane_vc"), client);

  // A child window of a client is not a top-level window, whatever its title.
  Window inner = Create(client);
  SetWmName(inner, "Preview Window");
  EXPECT_EQ(platform::FindTopLevelWindow("Preview Window"), 0u);
  // Nor is a child without WM_STATE inside a plain window.
  Window plain = Create(x.Root());
  Window child = Create(plain);
  SetWmName(child, "Lorvane_Main");
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main"), 0u);
}

TEST_F(WindowSearch, NoDisplayFindsNothing) {
  Window w = Create(x.Root());
  SetWmName(w, "Lorvane_Main");
  unsetenv("DISPLAY");
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main"), 0u);
  setenv("DISPLAY", ":65000", 1);  // no server there
  EXPECT_EQ(platform::FindTopLevelWindow("Lorvane_Main"), 0u);
}

TEST_F(WindowSearch, SurvivesWindowsVanishingMidSearch) {
  Window stable = Create(x.Root());
  SetWmName(stable, "Lorvane_VC");
  std::atomic<bool> stop{false};
  // Another client makes and destroys titled windows and frames as fast as it can.
  std::thread churn([&] {
    testsupport::XConnection other(server.Display());
    while (!stop) {
      Window frame = XCreateSimpleWindow(other.Get(), other.Root(), 0, 0, 5, 5, 0, 0, 0);
      Window client = XCreateSimpleWindow(other.Get(), frame, 0, 0, 5, 5, 0, 0, 0);
      XStoreName(other.Get(), frame, "churn");
      XStoreName(other.Get(), client, "churn");
      XFlush(other.Get());
      XDestroyWindow(other.Get(), frame);
      XFlush(other.Get());
    }
    XSync(other.Get(), False);
  });
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(platform::FindTopLevelWindow("Lorvane_VC"), stable);
    platform::FindTopLevelWindow("churn");
  }
  stop = true;
  churn.join();
}

}  // namespace
