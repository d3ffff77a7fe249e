#include "platform/crt.h"

namespace crt {
namespace {
constexpr unsigned int RandMultiplier = 214013u;
constexpr unsigned int RandIncrement = 2531011u;
// The C runtime starts as if srand(1) had been called.
unsigned int Seed = 1u;
}  // namespace

int rand() {
    Seed = Seed * RandMultiplier + RandIncrement;
    return (int)((Seed >> 16) & (unsigned int)RandMax);
}

void srand(unsigned int seed) { Seed = seed; }
}  // namespace crt
