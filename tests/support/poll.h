#pragma once
// Waiting in tests: poll a condition until a deadline, never sleep a fixed time and hope.
#include <chrono>
#include <thread>

namespace testsupport {

template <typename Condition>
bool PollUntil(Condition condition, std::chrono::milliseconds deadline = std::chrono::seconds(10),
               std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
  auto end = std::chrono::steady_clock::now() + deadline;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(step);
  }
}

}  // namespace testsupport
