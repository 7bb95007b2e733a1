#pragma once
// The specialty of a caster without one. Every window offers it above the
// specialty table's own names; the table normally lacks it, so the rules find
// no preferences for it, and it alone gets no extra spell per day.

#include <string_view>

namespace vellumar {

inline constexpr char Generalist[] = "Generalist";

// Whole text, case-sensitive: "generalist" is a specialist.
inline bool IsGeneralist(std::string_view specialty) {
    return specialty == Generalist;
}

} // namespace vellumar
