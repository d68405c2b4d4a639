#include "renderer/frame_clock.h"

namespace renderer {

void FrameClock::Start(std::int64_t frequency, std::int64_t count) {
  Frequency = frequency;
  StartCount = count;
  CurrentCount = count;
  ElapsedTime = 0.0f;
}

float FrameClock::Advance(std::int64_t count) {
  CurrentCount = count;
  const double t =
      static_cast<double>(CurrentCount - StartCount) / static_cast<double>(Frequency);
  // The difference is taken from the stored single-precision elapsed time.
  const float frameTime = static_cast<float>(t - ElapsedTime);
  ElapsedTime = static_cast<float>(t);
  return frameTime;
}

}  // namespace renderer
