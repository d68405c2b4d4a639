// Hover, focus, presses and the pointer poll, driven by real mouse, key and focus events.
#include <gtest/gtest.h>

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "tests/button/faces.h"

namespace {

using buttontest::FaceShown;
using buttontest::GradientRow;
using Face = Command::Face;

// A host form with a line edit that holds the focus first and a 64 x 25 button beside it.
class CommandStates : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(240, 100);
    edit = new QLineEdit(&host);
    edit->setGeometry(10, 10, 60, 20);
    button = new Command(&host, &stored);
    button->setGeometry(100, 40, 64, 25);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }));
    clicks = std::make_unique<QSignalSpy>(button, &Command::Click);
    // Start with the pointer on the host, away from the button.
    MoveTo(&host, kOnHost);
  }

  std::optional<Face> Shown() const { return FaceShown(button->Surface()); }
  // Moves the pointer there and sends the move (QTest leaves the pointer where it was while a
  // button is held).
  static void MoveTo(QWidget* widget, QPoint p) {
    QCursor::setPos(widget->mapToGlobal(p));
    QTest::mouseMove(widget, p);
  }
  void MoveOver(QPoint p = QPoint(32, 12)) { MoveTo(button, p); }
  // Presses and releases go through the window, as the window system delivers them, so that a
  // press makes the widget under it hold the mouse.
  static QPoint InWindow(QWidget* widget, QPoint p) { return widget->mapTo(widget->window(), p); }
  static void Press(QWidget* widget, Qt::MouseButton b, QPoint p) {
    QTest::mousePress(widget->window()->windowHandle(), b, {}, InWindow(widget, p));
  }
  static void Release(QWidget* widget, Qt::MouseButton b, QPoint p) {
    QTest::mouseRelease(widget->window()->windowHandle(), b, {}, InWindow(widget, p));
  }
  static void ClickOn(QWidget* widget, Qt::MouseButton b, QPoint p) {
    Press(widget, b, p);
    Release(widget, b, p);
  }
  // Waits for n ticks of the button's pointer poll.
  void WaitForTicks(int n) {
    auto* timer = button->findChild<QTimer*>(QStringLiteral("TmrMouse"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());
    int ticks = 0;
    auto connection = QObject::connect(timer, &QTimer::timeout, [&] { ++ticks; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= n; }, 5000));
    QObject::disconnect(connection);
  }
  bool WhiteOnTop() const { return button->Surface().pixel(32, 4) == GradientRow(4, 25, true); }
  bool LavenderOnTop() const { return button->Surface().pixel(32, 4) == GradientRow(4, 25, false); }

  static constexpr QPoint kOnHost{200, 80};
  buttontest::QtApp app;
  QWidget host;
  // As the dialog stores its buttons: caption only; restored enabled.
  PropertyBag stored{{QStringLiteral("caption"), QStringLiteral("OK")}};
  QLineEdit* edit = nullptr;
  Command* button = nullptr;
  std::unique_ptr<QSignalSpy> clicks;
};

TEST_F(CommandStates, HoverPressReleaseOnAnUnfocusedButton) {
  button->Initialize();
  EXPECT_EQ(button->GetState(), 1);
  EXPECT_EQ(Shown(), Face::Normal);

  MoveOver();
  EXPECT_EQ(button->GetState(), 2);
  EXPECT_EQ(Shown(), Face::HighLight);
  EXPECT_TRUE(LavenderOnTop());

  Press(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(button->GetState(), 4);
  EXPECT_TRUE(button->GetMouseHeld());
  EXPECT_EQ(Shown(), Face::Pressed);
  EXPECT_EQ(clicks->count(), 0);

  Release(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_EQ(button->GetState(), 4);
  EXPECT_FALSE(button->GetMouseHeld());
  EXPECT_EQ(Shown(), Face::HighLight);  // HighLightSelect: the same pixels
  EXPECT_EQ(clicks->count(), 1);
}

TEST_F(CommandStates, DraggingOffTheFocusedButtonIsNoClick) {
  button->Initialize();
  button->setFocus();
  ASSERT_EQ(button->GetState(), 3);
  EXPECT_EQ(Shown(), Face::Selected);
  MoveOver();
  ASSERT_EQ(button->GetState(), 4);

  Press(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_EQ(Shown(), Face::Pressed);
  MoveTo(&host, kOnHost);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->GetState() == 3; }, 5000));
  EXPECT_EQ(Shown(), Face::Selected);

  // Back over the button with the left button still held: nothing changes.
  MoveOver();
  EXPECT_EQ(button->GetState(), 3);
  EXPECT_EQ(Shown(), Face::Selected);

  Release(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_EQ(Shown(), Face::Selected);
  EXPECT_EQ(clicks->count(), 0);
}

TEST_F(CommandStates, RightButtonReleaseClicksAndItsPressDrawsNothing) {
  button->Initialize();
  MoveOver();
  ASSERT_EQ(Shown(), Face::HighLight);
  Press(button, Qt::RightButton, QPoint(32, 12));
  EXPECT_EQ(Shown(), Face::HighLight);
  EXPECT_FALSE(button->GetMouseHeld());
  EXPECT_FALSE(button->hasFocus());
  Release(button, Qt::RightButton, QPoint(32, 12));
  EXPECT_EQ(clicks->count(), 1);
  EXPECT_EQ(Shown(), Face::HighLight);

  ClickOn(button, Qt::MiddleButton, QPoint(32, 12));
  EXPECT_EQ(clicks->count(), 2);
}

// A button that cannot take the focus stays in state 2 while pressed; once the pointer has gone
// (state 1 after the next tick), the release outside still clicks.
TEST_F(CommandStates, ButtonWithoutFocusClicksOnReleaseOutside) {
  button->setFocusPolicy(Qt::NoFocus);
  button->Initialize();
  MoveOver();
  Press(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_EQ(button->GetState(), 2);
  EXPECT_EQ(Shown(), Face::Pressed);
  EXPECT_TRUE(LavenderOnTop());  // drawn in the hover state

  MoveTo(&host, kOnHost);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->GetState() == 1; }, 5000));
  EXPECT_EQ(Shown(), Face::Normal);
  Release(&host, Qt::LeftButton, kOnHost);
  EXPECT_EQ(clicks->count(), 1);
}

TEST_F(CommandStates, DisabledButtonIgnoresEverything) {
  button->Initialize();
  button->SetEnabled(false);
  EXPECT_EQ(Shown(), Face::Disable);
  EXPECT_FALSE(button->CaptionLabel()->isEnabled());

  MoveOver();
  ClickOn(button, Qt::LeftButton, QPoint(32, 12));
  ClickOn(button, Qt::RightButton, QPoint(32, 12));
  button->setFocus();
  EXPECT_TRUE(button->hasFocus());  // it still takes the focus
  EXPECT_EQ(button->GetState(), 1);
  EXPECT_EQ(Shown(), Face::Disable);
  EXPECT_EQ(clicks->count(), 0);

  // Enabled again, it shows Normal, whatever its state.
  button->SetEnabled(true);
  EXPECT_EQ(Shown(), Face::Normal);
  EXPECT_TRUE(button->CaptionLabel()->isEnabled());
}

// Before Initialize a release clicks in state 0; a left press that moves the focus here makes
// it state 3 first (a focused button), so the clicks below come without a focus change.
TEST_F(CommandStates, BeforeInitializeNoHoverButClicks) {
  MoveOver();
  EXPECT_EQ(button->GetState(), 0);
  EXPECT_EQ(Shown(), Face::Normal);
  ClickOn(button, Qt::RightButton, QPoint(32, 12));
  EXPECT_EQ(clicks->count(), 1);
  button->setFocusPolicy(Qt::NoFocus);
  ClickOn(button, Qt::LeftButton, QPoint(32, 12));
  EXPECT_EQ(clicks->count(), 2);
  EXPECT_EQ(button->GetState(), 0);
}

TEST_F(CommandStates, TabOntoHoveredButtonDrawsPressedAndKeysDoNothing) {
  button->Initialize();
  MoveOver();
  ASSERT_EQ(button->GetState(), 2);
  QTest::keyClick(edit, Qt::Key_Tab);
  ASSERT_TRUE(button->hasFocus());
  EXPECT_EQ(button->GetState(), 4);
  EXPECT_EQ(Shown(), Face::Pressed);
  EXPECT_TRUE(LavenderOnTop());  // state 4 keeps the direction of state 2

  QTest::keyClick(button, Qt::Key_Space);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(button, Qt::Key_Enter);
  EXPECT_EQ(clicks->count(), 0);
  EXPECT_EQ(Shown(), Face::Pressed);

  // Tab away: focus lost gives state 1 and Normal.
  QTest::keyClick(button, Qt::Key_Tab);
  EXPECT_FALSE(button->hasFocus());
  EXPECT_EQ(button->GetState(), 1);
  EXPECT_EQ(Shown(), Face::Normal);
}

TEST_F(CommandStates, FocusedThenHoveredKeepsWhiteOnTop) {
  button->Initialize();
  button->setFocus();
  ASSERT_EQ(button->GetState(), 3);
  MoveOver();
  EXPECT_EQ(button->GetState(), 4);
  EXPECT_EQ(Shown(), Face::HighLight);  // HighLightSelect
  EXPECT_TRUE(WhiteOnTop());            // state 4 keeps the direction of state 3
}

TEST_F(CommandStates, CaptionCountsAsTheButtonAndTheHostDoesNot) {
  button->Initialize();
  // The caption label covers rows 5 to 17 across the button.
  const QRect caption = button->CaptionLabel()->geometry();
  ASSERT_TRUE(caption.contains(QPoint(32, 10)));
  MoveOver(QPoint(32, 10));
  ASSERT_EQ(button->GetState(), 2);
  WaitForTicks(3);
  EXPECT_EQ(button->GetState(), 2);
  EXPECT_EQ(Shown(), Face::HighLight);

  // Presses over the caption reach the button.
  ClickOn(button, Qt::LeftButton, QPoint(32, 10));
  EXPECT_EQ(clicks->count(), 1);
  ASSERT_EQ(button->GetState(), 4);

  // Beside the button, on the host: the hover ends at the next tick (4 becomes 3).
  MoveTo(&host, QPoint(90, 50));
  WaitForTicks(1);
  EXPECT_EQ(button->GetState(), 3);
  EXPECT_EQ(Shown(), Face::Selected);
}

// The window losing the activation, as when a file dialog opens from a click, keeps the focus on
// the button; when the window comes back the button is still focused, not focused anew.
TEST_F(CommandStates, AnotherWindowTakingTheActivationKeepsTheFocus) {
  button->Initialize();
  button->setFocus();
  ASSERT_EQ(button->GetState(), 3);
  QWidget other;
  other.resize(50, 50);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(button->GetState(), 3);
  EXPECT_EQ(Shown(), Face::Selected);
  other.close();
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(button->GetState(), 3);
}

}  // namespace
