#pragma once
// Frequency codes and the two orders they are shown in. A code runs from 0
// (Common) down to -4 (Restricted). Every table keyed by frequency is indexed
// by code + 4, its entry: Restricted first. Every list on screen runs from
// "Common" to "Restricted": row r stands for the code -r.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace vellumar {

constexpr int32_t FrequencyCommon = 0;
constexpr int32_t FrequencyRestricted = -4;
constexpr int FrequencyCount = 5;

extern const std::array<const char*, FrequencyCount> FrequencyNames;
extern const char FrequencyLetters[FrequencyCount + 1];

// The table entry of a code in -4..0.
constexpr size_t FrequencyEntry(int32_t code) {
    return static_cast<size_t>(code - FrequencyRestricted);
}
constexpr int32_t FrequencyOfEntry(size_t entry) {
    return static_cast<int32_t>(entry) + FrequencyRestricted;
}

// The row of a code in a list on screen; a code outside -4..0 shows the
// nearer end.
constexpr int FrequencyRow(int32_t code) {
    return std::clamp(-code, 0, FrequencyCount - 1);
}
// The code of a row; no row (-1) stands for Common.
constexpr int32_t FrequencyOfRow(int row) {
    return -std::max(row, 0);
}
// The table entry of a row, rows outside the list taken as the nearer end.
constexpr size_t FrequencyEntryOfRow(int row) {
    return FrequencyEntry(-std::clamp(row, 0, FrequencyCount - 1));
}

// The names in screen order: "Common" first.
inline std::array<const char*, FrequencyCount> FrequencyNamesCommonFirst() {
    std::array<const char*, FrequencyCount> names{};
    for (int row = 0; row < FrequencyCount; ++row)
        names[row] = FrequencyNames[FrequencyEntryOfRow(row)];
    return names;
}

} // namespace vellumar
