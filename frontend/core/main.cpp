// Lorvane.scr: the screensaver front end.
#include <QApplication>
#include <QIcon>
#include <QStringList>

#include "frontend/core/Lorvane_B.h"
#include "frontend/core/program_modes.h"
#include "frontend/resources/pictures.h"

int main(int argc, char** argv) {
  // The argument string is taken before Qt sees the command line, and Qt is given none of it:
  // a switch such as "-display" belongs to the screensaver, not to Qt.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  QApplication::setWindowIcon(QIcon(resources::PicturePath(QStringLiteral("star_icon.png"))));
  Lorvane_B::ArgumentString = arguments.join(u' ');

  if (!Lorvane_B::Main(Lorvane_B::ProgramModes())) return 0;
  return app.exec();
}
