#pragma once
// The one random generator of the program: a standard engine and our own
// uniform draw, so the same seed gives the same books on every machine.

#include <cstdint>
#include <optional>

namespace vellumar {

void SeedRandom(uint32_t seed);
void SeedRandomFromClock();
// The given seed (both programs' --seed), or the clock without one.
void SeedRandom(std::optional<uint32_t> seed);
// Uniform integer from 0 to n-1; 0 for n of 0 or less.
int32_t RandomInt(int32_t n);

} // namespace vellumar
