#pragma once
// Random filling of a spellbook from the master list, weighted by the
// frequency odds, and the single random spell of Add Random Spell.

#include "model/specialty.h"
#include "model/spell_book.h"
#include "rules/eligibility.h"
#include "rules/odds.h"

#include <cstdint>

namespace vellumar {

// Adds copies of eligible master spells up to the Intelligence limits of each
// castable level: first from the specialty's preferred spells (with a few
// neutral ones), then from the other neutral spells. Adds only; nothing when
// the book or the master list is absent. Does not touch Modified.
void FillSpellbook(TSpellBook* book, TSpellBook* master, tSpecialtyList* table,
                   const FrequencyOddsTable& odds);

// One pass of filling from one pool: up to NewLevelSpells at every castable
// level, then up to MaxSpellsPerLevel at levels castable below the caster's
// level; never more at a level than the pool holds there.
void FillFromPool(TSpellBook& book, TSpellBook& pool, const FrequencyOddsTable& odds);

enum class RandomSpellOutcome {
    Added,
    NoMasterList,
    NoneLeft, // the book holds every spell of the level the master list has
    Refused,  // the drawn spell was ineligible and not admitted
};
struct RandomSpellResult {
    RandomSpellOutcome outcome = RandomSpellOutcome::NoneLeft;
    const tSpell* spell = nullptr; // the book's own copy, when Added
};

// Picks a spell of the level from the whole master list (by the odds, one the
// book lacks) and offers it to the book.
RandomSpellResult AddRandomSpell(TSpellBook& book, TSpellBook* master, tSpecialtyList* table,
                                 const FrequencyOddsTable& odds, int32_t level,
                                 const AdmitIneligibleFn& admit);

} // namespace vellumar
