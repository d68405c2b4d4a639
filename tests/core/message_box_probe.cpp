// Shows the platform's message box with the text and caption given as its two arguments (UTF-8),
// so that a test can compare the front end's message with one drawn the same way.
#include <QApplication>

#include "platform/qt/message_box.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QString text = QString::fromUtf8(argv[1]);
  QString caption = QString::fromUtf8(argv[2]);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  platform::ShowMessageBox(text, caption);
  return 0;
}
