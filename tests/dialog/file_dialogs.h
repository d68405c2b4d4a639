#pragma once
// Answering the open-file dialog from inside a test: a timer waits for the modal QFileDialog to
// appear and then does what the test asks of it.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace dialogtest {

// Once armed, the next QFileDialog that becomes the active modal widget is handed to answer.
class FileDialogAnswer {
 public:
  explicit FileDialogAnswer(std::function<void(QFileDialog&)> answer) : answer_(std::move(answer)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      timer_.stop();
      shown = true;
      title = dialog->windowTitle();
      nameFilters = dialog->nameFilters();
      directory = dialog->directory().absolutePath();
      answer_(*dialog);
    });
    timer_.start();
  }

  bool shown = false;
  QString title;
  QStringList nameFilters;
  QString directory;

 private:
  std::function<void(QFileDialog&)> answer_;
  QTimer timer_;
};

inline void Cancel(QFileDialog& dialog) { dialog.reject(); }

inline std::function<void(QFileDialog&)> Choose(const QString& linuxPath) {
  return [linuxPath](QFileDialog& dialog) {
    dialog.selectFile(linuxPath);
    QMetaObject::invokeMethod(&dialog, "accept");  // the Open button's slot
  };
}

}  // namespace dialogtest
