#include "platform/qt/application_pointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {

bool busySet = false;

}  // namespace

void SetApplicationPointer(ApplicationPointer pointer) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  const bool wantBusy = pointer == ApplicationPointer::Busy;
  if (wantBusy == busySet) return;
  if (wantBusy) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
  busySet = wantBusy;
}

}  // namespace platform
