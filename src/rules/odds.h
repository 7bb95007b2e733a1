#pragma once
// Selection odds by frequency: a drawn spell of a frequency is accepted with
// one chance in N.

#include <array>
#include <cstdint>

namespace vellumar {

// Program-wide, indexed by frequency code + 4 (Restricted first, Common last).
extern std::array<int32_t, 5> FrequencyOdds;
// 100, 20, 10, 5, 1.
extern const std::array<int32_t, 5> DefaultFrequencyOdds;

// The odds entry of a frequency code as the draws use it: a negative value
// (only a hand-edited settings file can hold one) counts as 1, and a code
// outside -4..0 counts as Common.
int32_t EffectiveOdds(int32_t frequencyCode);

// True when a random integer below the frequency's odds is 0. Odds of 1, and
// of 0, always pass.
bool OddsTest(int32_t frequencyCode);

} // namespace vellumar
