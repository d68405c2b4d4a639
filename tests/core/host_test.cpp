// The host form in this process, where no renderer window ever appears: the run ends at the first
// renderer check, and the cursor comes back only where the run mode hid it.
#include "frontend/core/Lorvane_S.h"

#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "frontend/core/Lorvane_B.h"
#include "frontend/music/settings_state.h"
#include "frontend/resources/pictures.h"
#include "platform/qt/cursor.h"
#include "platform/qt/picture_file.h"
#include "tests/core/core_app.h"
#include "tests/support/scratch_folder.h"

namespace {

int32_t CurrentCursorCount() {
  platform::ShowCursor(true);
  return platform::ShowCursor(false);
}

TEST(Host, EndsWithoutARendererAndShowsTheCursorOnlyForS) {
  coretest::App();
  testsupport::ScratchFolder scratch;
  scratch.UseAsHome();
  std::filesystem::create_directories(scratch.DriveC() + "/ostrik");  // as Main makes it
  // No display to search: the renderer's window is never found.
  unsetenv("DISPLAY");
  Lorvane_BGM::BgmKind = 0;

  struct Case { const char* arguments; bool hidden; };
  for (Case c : {Case{"/s", true}, Case{"", false}}) {
    SCOPED_TRACE(c.arguments);
    Lorvane_B::ArgumentString = QString::fromLatin1(c.arguments);
    const int32_t before = CurrentCursorCount();
    Lorvane_B::CursorCount = 42;
    if (c.hidden) Lorvane_B::CursorCount = platform::ShowCursor(false);  // as Main does for /s

    Lorvane_S host;
    host.Load();
    EXPECT_EQ(host.windowTitle(), "Lorvane_Main");
    EXPECT_FALSE(host.isVisible());
    EXPECT_TRUE(host.Timer3.isActive());
    EXPECT_FALSE(host.Timer1.isActive());
    EXPECT_FALSE(host.Timer2.isActive());

    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(host.Timer3.isActive());

    EXPECT_EQ(CurrentCursorCount(), before);
    EXPECT_EQ(Lorvane_B::CursorCount, c.hidden ? before : 42);
  }

  // The texture file was written before the renderer would have started.
  std::ifstream in(scratch.DriveC() + "/ostrik/Lorvane.bmp", std::ios::binary);
  std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  QByteArray expected =
      platform::BitmapFileOf(QImage(resources::PicturePath(QStringLiteral("cloud_sprite.png"))));
  EXPECT_TRUE(written == expected.toStdString()) << written.size() << " bytes written";
}

}  // namespace
