#pragma once
// The frame clock: seconds from a start count to each frame, and the time between two frames.
#include <cstdint>

namespace renderer {

struct FrameClock {
  std::int64_t Frequency = 0;   // counts per second
  std::int64_t StartCount = 0;  // taken once, before the scene set-up
  std::int64_t CurrentCount = 0;
  float ElapsedTime = 0.0f;     // seconds from the start to the last frame

  void Start(std::int64_t frequency, std::int64_t count);
  // Takes the count of a new frame; returns the time since the previous one (for the first
  // frame, since the start).
  float Advance(std::int64_t count);
};

}  // namespace renderer
