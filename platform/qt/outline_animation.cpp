#include "platform/qt/outline_animation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <QWidget>

namespace platform {
namespace {

constexpr int kSteps = 8;
constexpr int kStepMilliseconds = 18;
constexpr int kLine = 2;

int Between(int a, int b, double t) {
  return a + static_cast<int>((b - a) * t + (b >= a ? 0.5 : -0.5));
}

class Outline final : public QWidget {
 public:
  Outline()
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                             Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                             Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 30));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(220, 220, 250));
  }
};

}  // namespace

void AnimateOutline(const QRect& from, const QRect& to) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  Outline outline;
  QElapsedTimer clock;
  clock.start();
  for (int step = 1; step <= kSteps; ++step) {
    const double t = static_cast<double>(step) / kSteps;
    QRect r(QPoint(Between(from.left(), to.left(), t), Between(from.top(), to.top(), t)),
            QSize(std::max(1, Between(from.width(), to.width(), t)),
                  std::max(1, Between(from.height(), to.height(), t))));
    outline.setGeometry(r);
    // Only the ring of the rectangle is a window; inside it the screen shows through.
    const QRect inner = QRect(QPoint(0, 0), r.size()).adjusted(kLine, kLine, -kLine, -kLine);
    QRegion ring(QRect(QPoint(0, 0), r.size()));
    if (inner.isValid()) ring -= QRegion(inner);
    outline.setMask(ring);
    if (!outline.isVisible()) outline.show();
    outline.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const qint64 due = static_cast<qint64>(step) * kStepMilliseconds;
    const qint64 left = due - clock.elapsed();
    if (left > 0) QThread::msleep(static_cast<unsigned long>(left));
  }
  outline.hide();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace platform
