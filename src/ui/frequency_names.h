#pragma once
// Every frequency list on screen runs from "Common" to "Restricted": row i
// stands for the frequency code -i.

#include "model/spell.h"

#include <array>

namespace vellumar {

inline std::array<const char*, FrequencyCount> FrequencyNamesCommonFirst() {
    std::array<const char*, FrequencyCount> names{};
    for (int row = 0; row < FrequencyCount; ++row)
        names[row] = FrequencyNames[FrequencyCount - 1 - row];
    return names;
}

} // namespace vellumar
