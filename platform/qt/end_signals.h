#pragma once
// The system asking the program to end (SIGTERM, SIGINT, SIGHUP), delivered on the event loop's
// thread instead of inside a signal handler.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace platform {

// While it lives, those signals call `requested` from the event loop instead
// of ending the program. Only one watch at a time; the previous handlers come back when it goes.
class EndSignalWatch final : public QObject {
 public:
  explicit EndSignalWatch(std::function<void()> requested);
  ~EndSignalWatch() override;
  EndSignalWatch(const EndSignalWatch&) = delete;
  EndSignalWatch& operator=(const EndSignalWatch&) = delete;

  // False when the pipe or the handlers could not be set up (the signals then act as before).
  bool Active() const { return notifier_ != nullptr; }

 private:
  void Drain();
  std::function<void()> requested_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
