// The window animation's outline: from one rectangle to the other, and nothing left afterwards.
#include "platform/qt/outline_animation.h"

#include <gtest/gtest.h>

#include "tests/dialog/watchers.h"
#include "tests/support/qt_application.h"

namespace {

TEST(OutlineAnimation, GrowsFromThePointToTheRectangleAndGoes) {
  testsupport::QtApplication();
  const int before = static_cast<int>(QApplication::topLevelWidgets().size());
  dialogtest::OutlineRecorder recorder;
  platform::AnimateOutline(QRect(300, 200, 0, 0), QRect(100, 100, 400, 200));
  ASSERT_GE(recorder.rects.size(), 2u);
  // The first step is close to the point, the last one the rectangle itself.
  const QRect first = recorder.rects.front();
  EXPECT_LT(first.width(), 100);
  EXPECT_NEAR(first.center().x(), 300, 30);
  EXPECT_EQ(recorder.rects.back(), QRect(100, 100, 400, 200));
  EXPECT_EQ(dialogtest::VisibleToolTips(), 0);
  EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), before);
}

TEST(OutlineAnimation, ShrinksIntoAPoint) {
  testsupport::QtApplication();
  dialogtest::OutlineRecorder recorder;
  platform::AnimateOutline(QRect(100, 100, 400, 200), QRect(0, 0, 0, 0));
  ASSERT_FALSE(recorder.rects.empty());
  EXPECT_LE(recorder.rects.back().width(), 1);
  EXPECT_EQ(recorder.rects.back().topLeft(), QPoint(0, 0));
  EXPECT_EQ(dialogtest::VisibleToolTips(), 0);
}

}  // namespace
