#pragma once
// The constant caster progression. Look-ups outside the tables give 0.

#include "model/spell_book.h"

#include <cstdint>

namespace vellumar {

constexpr int MinCasterLevel = 1;
constexpr int MaxCasterLevel = 30;
constexpr int MinIntelligence = 9;
constexpr int MaxIntelligence = 21;

int32_t SpellsPerDay(int32_t casterLevel, int32_t spellLevel);
int32_t NewLevelSpells(int32_t intelligence);
int32_t MaxSpellsPerLevel(int32_t intelligence);

// The spells a book's caster casts per day at a spell level, as two places
// show them. Both add one for any specialty but the generalist (see
// IsGeneralist); they part where the table gives 0: printouts and the
// clipboard text still add the specialist's one, while the spellbook window's
// "# per day" stays 0 (also for a level still being typed), as the classic
// program showed them.
int32_t NumberPerDay(const TSpellBook& book, int32_t spellLevel);
int SpellsPerDayFigure(const TSpellBook& book, int spellLevel);

} // namespace vellumar
