#include "rules/odds.h"

#include "model/spell.h"
#include "rules/random.h"

#include <algorithm>

namespace vellumar {

const FrequencyOddsTable DefaultFrequencyOdds = {100, 20, 10, 5, 1};

int32_t EffectiveOdds(const FrequencyOddsTable& table, int32_t frequencyCode) {
    if (frequencyCode < FrequencyRestricted || frequencyCode > FrequencyCommon)
        frequencyCode = FrequencyCommon;
    const int32_t odds = table[FrequencyEntry(frequencyCode)];
    // 0 keeps its meaning (every test passes); a negative value would make the
    // draw loops spin for ever, and a huge one for minutes.
    return odds == 0 ? 0 : ClampedOdds(odds);
}

int32_t ClampedOdds(int32_t odds) {
    return std::clamp(odds, MinOdds, MaxOdds);
}

bool OddsTest(const FrequencyOddsTable& odds, int32_t frequencyCode) {
    return RandomInt(EffectiveOdds(odds, frequencyCode)) == 0;
}

} // namespace vellumar
