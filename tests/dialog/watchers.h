#pragma once
// Observers for the dialog tests: an address handler standing in for the desktop's, and a
// recorder of the outline windows that an animation shows.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QUrl>
#include <QWidget>
#include <vector>

namespace dialogtest {

// Registered with QDesktopServices::setUrlHandler: receives what would go to the browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> opened;
  bool busyPointerSeen = false;

 public slots:
  void Open(const QUrl& url) {
    opened.push_back(url);
    busyPointerSeen = QGuiApplication::overrideCursor() &&
                      QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
  }
};

// Notes the geometry of each tool-tip window (the animation's outline) whenever one is shown,
// moved or resized while it is visible.
class OutlineRecorder : public QObject {
 public:
  OutlineRecorder() { qApp->installEventFilter(this); }
  ~OutlineRecorder() override { qApp->removeEventFilter(this); }
  std::vector<QRect> rects;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) {
      auto* w = qobject_cast<QWidget*>(watched);
      if (w && w->isWindow() && w->windowType() == Qt::ToolTip && w->isVisible()) {
        if (rects.empty() || rects.back() != w->geometry()) rects.push_back(w->geometry());
      }
    }
    return false;
  }
};

inline int VisibleToolTips() {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowType() == Qt::ToolTip) ++count;
  }
  return count;
}

}  // namespace dialogtest
