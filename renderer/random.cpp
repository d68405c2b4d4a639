#include "renderer/random.h"

namespace renderer {

std::uint32_t RandomState = 1;

int RandomValue() {
  RandomState = RandomState * 214013u + 2531011u;
  return static_cast<int>((RandomState >> 16) & 0x7FFF);
}

double RandomUpTo(double x) {
  // Exact in double: 15 bits of value times a float's 24 bits of x.
  return RandomValue() * 0.000030517578125 * x;
}

}  // namespace renderer
