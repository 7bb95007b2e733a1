#pragma once
// Random filling of a spellbook from the master list, weighted by the
// frequency odds, and the single random spell of Add Random Spell.

#include "model/specialty.h"
#include "model/spell_book.h"
#include "rules/eligibility.h"

#include <cstdint>

namespace vellumar {

// Adds copies of eligible master spells up to the Intelligence limits of each
// castable level: first from the specialty's preferred spells (with a few
// neutral ones), then from the other neutral spells. Adds only; nothing when
// the book or the master list is absent. Does not touch Modified.
void FillSpellbook(TSpellBook* book, TSpellBook* master, tSpecialtyList* table);

// One pass of filling from one pool: up to NewLevelSpells at every castable
// level, then up to MaxSpellsPerLevel at levels castable below the caster's
// level; never more at a level than the pool holds there.
void FillFromPool(TSpellBook& book, TSpellBook& pool);

// Picks a spell of the level from the whole master list (by the odds, one the
// book lacks) and offers it to the book. Returns the book's own copy of the
// spell that was let in, or nullptr. No master list: error box, nothing else.
const tSpell* AddRandomSpell(TSpellBook& book, TSpellBook* master, tSpecialtyList* table,
                             int32_t level, const ConfirmFn& confirm, const ErrorFn& error);

} // namespace vellumar
