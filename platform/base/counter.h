#pragma once
// The high-resolution performance counter: CLOCK_MONOTONIC in nanoseconds.
#include <cstdint>

namespace platform {

// Counts per second of PerformanceCount().
inline constexpr std::int64_t kPerformanceFrequency = 1'000'000'000;

// Monotonic count since an arbitrary start; never goes back.
std::int64_t PerformanceCount();

}  // namespace platform
