#pragma once
// The constant caster progression. Look-ups outside the tables give 0.

#include <cstdint>

namespace vellumar {

constexpr int MinCasterLevel = 1;
constexpr int MaxCasterLevel = 30;
constexpr int MinIntelligence = 9;
constexpr int MaxIntelligence = 21;

int32_t SpellsPerDay(int32_t casterLevel, int32_t spellLevel);
int32_t NewLevelSpells(int32_t intelligence);
int32_t MaxSpellsPerLevel(int32_t intelligence);

} // namespace vellumar
