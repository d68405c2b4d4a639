#pragma once
// The renderer's own random source: a linear congruential generator that every run starts from
// the same state and never reseeds, so every run draws the same sequence.
#include <cstdint>

namespace renderer {

// Generator state; 1 at program start.
extern std::uint32_t RandomState;

// Next value of the sequence, 0..32767.
int RandomValue();

// value × 2^-15 × x, in [0, x). Returned in double precision: callers add their constant to it
// and round once to single precision when they store the result.
double RandomUpTo(double x);

}  // namespace renderer
