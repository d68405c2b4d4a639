#include "platform/qt/end_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);

// The handler only writes one byte into the pipe; everything else happens in the event loop.
int pipeRead = -1;
int pipeWrite = -1;
struct sigaction previous[kSignalCount];

void OnSignal(int) {
  int saved = errno;
  char byte = 1;
  // A full pipe already holds a request; losing this byte loses nothing.
  [[maybe_unused]] ssize_t n = write(pipeWrite, &byte, 1);
  errno = saved;
}

}  // namespace

EndSignalWatch::EndSignalWatch(std::function<void()> requested) : requested_(std::move(requested)) {
  if (pipeRead >= 0) return;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  pipeRead = fds[0];
  pipeWrite = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipeRead, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

EndSignalWatch::~EndSignalWatch() {
  if (!notifier_) return;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &previous[i], nullptr);
  notifier_.reset();
  close(pipeRead);
  close(pipeWrite);
  pipeRead = pipeWrite = -1;
}

void EndSignalWatch::Drain() {
  char bytes[64];
  bool any = false;
  while (read(pipeRead, bytes, sizeof bytes) > 0) any = true;
  if (any && requested_) requested_();
}

}  // namespace platform
