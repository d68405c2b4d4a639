#include "platform/base/counter.h"

#include <time.h>

namespace platform {

std::int64_t PerformanceCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * kPerformanceFrequency + now.tv_nsec;
}

}  // namespace platform
