// The test harness itself: a private X server comes up and goes away without leaving a process.
#include <gtest/gtest.h>

#include "tests/support/x11_windows.h"
#include "tests/support/xvfb_server.h"

namespace {

TEST(Harness, PrivateXServerStartsAndIsReaped) {
  {
    testsupport::XvfbServer server(200, 100);
    ASSERT_TRUE(server.Running());
    testsupport::XConnection x(server.Display());
    ASSERT_TRUE(x);
    EXPECT_EQ(DisplayWidth(x.Get(), 0), 200);
  }
}

}  // namespace
