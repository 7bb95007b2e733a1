#pragma once
// Selection odds by frequency: a drawn spell of a frequency is accepted with
// one chance in N.

#include <array>
#include <cstdint>

namespace vellumar {

// Indexed by frequency entry (FrequencyEntry): Restricted first, Common last.
// The program's table is owned by whoever runs the rules (the application, the
// command-line tool) and handed to every draw.
using FrequencyOddsTable = std::array<int32_t, 5>;
// 100, 20, 10, 5, 1.
extern const FrequencyOddsTable DefaultFrequencyOdds;

// The odds the program offers. Only a hand-edited settings file can hold others,
// and a huge one would make each draw spin for minutes.
constexpr int32_t MinOdds = 1;
constexpr int32_t MaxOdds = 32767;
int32_t ClampedOdds(int32_t odds);

// The odds entry of a frequency code as the draws use it: 0 stays 0 (every test
// passes), anything else is held to MinOdds to MaxOdds; a code outside -4..0
// counts as Common.
int32_t EffectiveOdds(const FrequencyOddsTable& odds, int32_t frequencyCode);

// True when a random integer below the frequency's odds is 0. Odds of 1, and
// of 0, always pass.
bool OddsTest(const FrequencyOddsTable& odds, int32_t frequencyCode);

} // namespace vellumar
