#include "rules/caster_tables.h"

#include "model/generalist.h"

namespace vellumar {
namespace {

constexpr uint8_t SpellsPerDayTable[30][9] = {
    {1, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 0, 0, 0},
    {3, 2, 0, 0, 0, 0, 0, 0, 0}, {4, 2, 1, 0, 0, 0, 0, 0, 0}, {4, 2, 2, 0, 0, 0, 0, 0, 0},
    {4, 3, 2, 1, 0, 0, 0, 0, 0}, {4, 3, 3, 2, 0, 0, 0, 0, 0}, {4, 3, 3, 2, 1, 0, 0, 0, 0},
    {4, 4, 3, 2, 2, 0, 0, 0, 0}, {4, 4, 4, 3, 3, 0, 0, 0, 0}, {4, 4, 4, 4, 4, 1, 0, 0, 0},
    {5, 5, 5, 4, 4, 2, 0, 0, 0}, {5, 5, 5, 4, 4, 2, 1, 0, 0}, {5, 5, 5, 5, 5, 2, 1, 0, 0},
    {5, 5, 5, 5, 5, 3, 2, 1, 0}, {5, 5, 5, 5, 5, 3, 3, 2, 0}, {5, 5, 5, 5, 5, 3, 3, 2, 1},
    {5, 5, 5, 5, 5, 3, 3, 3, 1}, {5, 5, 5, 5, 5, 4, 3, 3, 2}, {5, 5, 5, 5, 5, 4, 4, 4, 2},
    {5, 5, 5, 5, 5, 5, 4, 4, 3}, {5, 5, 5, 5, 5, 5, 5, 5, 3}, {5, 5, 5, 5, 5, 5, 5, 5, 4},
    {5, 5, 5, 5, 5, 5, 5, 5, 5}, {6, 6, 6, 6, 5, 5, 5, 5, 5}, {6, 6, 6, 6, 6, 6, 6, 5, 5},
    {6, 6, 6, 6, 6, 6, 6, 6, 6}, {7, 7, 7, 7, 6, 6, 6, 6, 6}, {7, 7, 7, 7, 7, 7, 7, 6, 6},
};

struct IntelligenceRow {
    uint8_t NewLevelSpells;
    uint8_t MaxSpellsPerLevel;
};

constexpr IntelligenceRow IntelligenceLimits[13] = {
    {4, 6},  {5, 7},  {5, 7},  {5, 8},   {6, 9},   {6, 10},  {7, 11},
    {7, 12}, {8, 14}, {9, 18}, {10, 22}, {11, 26}, {12, 30},
};

bool InIntelligenceRange(int32_t i) {
    return i >= MinIntelligence && i <= MaxIntelligence;
}

} // namespace

int32_t SpellsPerDay(int32_t casterLevel, int32_t spellLevel) {
    if (casterLevel < MinCasterLevel || casterLevel > MaxCasterLevel || spellLevel < 1 ||
        spellLevel > 9)
        return 0;
    return SpellsPerDayTable[casterLevel - 1][spellLevel - 1];
}

int32_t NewLevelSpells(int32_t intelligence) {
    return InIntelligenceRange(intelligence)
               ? IntelligenceLimits[intelligence - MinIntelligence].NewLevelSpells
               : 0;
}

int32_t MaxSpellsPerLevel(int32_t intelligence) {
    return InIntelligenceRange(intelligence)
               ? IntelligenceLimits[intelligence - MinIntelligence].MaxSpellsPerLevel
               : 0;
}

int32_t NumberPerDay(const TSpellBook& book, int32_t spellLevel) {
    return SpellsPerDay(book.CasterLevel, spellLevel) + (IsGeneralist(book.Specialty) ? 0 : 1);
}

int SpellsPerDayFigure(const TSpellBook& book, int spellLevel) {
    const int value = SpellsPerDay(book.CasterLevel, spellLevel);
    return value != 0 && !IsGeneralist(book.Specialty) ? value + 1 : value;
}

} // namespace vellumar
