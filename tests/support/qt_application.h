#pragma once
// The one QApplication of a test binary, made on first use. Tests run on Qt's offscreen platform
// unless QT_QPA_PLATFORM says otherwise. It lives until the process ends.
#include <QApplication>

namespace testsupport {

inline QApplication& QtApplication() {
  static int argc = 1;
  static char name[] = "lorvane-test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit, Qt's own statics (QTest's pointing device among them) may already
  // be gone, and tearing the application down after them crashes.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace testsupport
