// The C runtime's random numbers as the game has always had them: a linear
// congruential generator, seed x 214013 + 2531011, 15-bit results.
#pragma once

namespace crt {
constexpr int RandMax = 0x7FFF;
// Next number, 0 to 32767.
int rand();
void srand(unsigned int seed);
}  // namespace crt
