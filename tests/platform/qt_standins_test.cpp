// The Qt stand-ins: the cursor display count and the message box.
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/qt/cursor.h"
#include "platform/qt/message_box.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);
  return *app;
}

TEST(Cursor, BlankWhileTheCountIsBelowZero) {
  App();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(platform::ShowCursor(false), -1);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
  EXPECT_EQ(platform::ShowCursor(false), -2);
  EXPECT_EQ(platform::ShowCursor(true), -1);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
  EXPECT_EQ(platform::ShowCursor(true), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(platform::ShowCursor(true), 1);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(platform::ShowCursor(false), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(MessageBox, OkOnlyNoIconTextAndCaptionAsGiven) {
  App();
  const QString text = QString::fromUtf8("Lorvane.dll が同じﾌｫﾙﾀﾞに見つかりません！");
  const QString caption = QStringLiteral("Lorvane (ScreenSaver)");
  bool seen = false;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    look.stop();
    seen = true;
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->windowTitle(), caption);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box->buttons().size(), 1);
    box->button(QMessageBox::Ok)->click();
  });
  look.start(1);
  platform::ShowMessageBox(text, caption);  // returns once the OK button was clicked
  EXPECT_TRUE(seen);
}

}  // namespace
