#include "tests/core/core_app.h"

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/base/drives.h"
#include "platform/qt/text.h"

namespace coretest {

QApplication& App() {
  static int argc = 1;
  static char name[] = "core_tests";
  static char* argv[] = {name, nullptr};
  static auto app = std::make_unique<QApplication>(argc, argv);
  return *app;
}

QString WindowsPath(const testsupport::ScratchFolder& scratch, const std::string& relative) {
  std::string linuxPath = scratch.Path() + (relative.empty() ? "" : "/" + relative);
  auto windows = platform::WindowsPathOf(linuxPath);
  if (!windows) return {};
  return platform::FromAnsi(QByteArray(windows->data(), static_cast<qsizetype>(windows->size())))
      .value_or(QString());
}

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(LORVANE_SOURCE_DIR) + "/tests/core/fixtures/" + name,
                   std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace coretest
