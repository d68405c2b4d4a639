#include "platform/qt/message_box.h"

#include <QMessageBox>

namespace platform {

void ShowMessageBox(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
  box.exec();
}

}  // namespace platform
