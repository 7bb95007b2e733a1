#include "rules/odds.h"

#include "model/spell.h"
#include "rules/random.h"

namespace vellumar {

const std::array<int32_t, 5> DefaultFrequencyOdds = {100, 20, 10, 5, 1};
std::array<int32_t, 5> FrequencyOdds = DefaultFrequencyOdds;

int32_t EffectiveOdds(int32_t frequencyCode) {
    if (frequencyCode < FrequencyRestricted || frequencyCode > FrequencyCommon)
        frequencyCode = FrequencyCommon;
    const int32_t odds = FrequencyOdds[static_cast<size_t>(frequencyCode + 4)];
    // A negative value would otherwise make every draw loop spin for ever.
    return odds < 0 ? 1 : odds;
}

bool OddsTest(int32_t frequencyCode) {
    return RandomInt(EffectiveOdds(frequencyCode)) == 0;
}

} // namespace vellumar
