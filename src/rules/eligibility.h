#pragma once
// Which spells a spellbook may hold, and the two ways a book is held to it:
// validation removes what breaks the rules, an offer asks before letting it in.

#include "model/specialty.h"
#include "model/spell_book.h"

#include <functional>
#include <vector>

namespace vellumar {

// Why the rules keep a spell out of a book, in the order they are tested.
enum class Ineligibility {
    None,        // the book may hold it
    NotCastable, // the caster cannot cast spells of its level
    TooRare,     // rarer than the book's spell frequency
    Prohibited,  // prohibited by the book's specialty
};

// Decides whether a spell the rules keep out goes in all the same (the windows
// ask the user); true lets it in.
using AdmitIneligibleFn = std::function<bool(const tSpell& spell, Ineligibility why)>;

// What keeps the spell out of the book, None when nothing does. Without a
// table nothing does.
Ineligibility WhyIneligible(const tSpell& spell, const TSpellBook& book, tSpecialtyList* table);

// Level, then frequency, then specialty; the table is consulted only when the
// first two pass. An absent spell, book or table gives true.
bool IsSpellValidForBook(const tSpell* spell, const TSpellBook* book, tSpecialtyList* table);

// Same rule with the book's specialty already looked up (nullptr: none known).
bool IsSpellValidForSpecialty(const tSpell& spell, const TSpellBook& book,
                              const tSpecialty* specialty);

// Removes every ineligible spell, testing each exactly once; onRemove sees each
// removed spell, in book order, just before it goes.
void ValidateBook(TSpellBook& book, tSpecialtyList* table,
                  const std::function<void(const tSpell&)>& onRemove = {});

// Adds a copy when the spell is eligible or `admit` lets it in, and then sets
// the book's Modified flag. True when the spell was let in (also when the book
// already held an equal one). Without `admit` an ineligible spell stays out.
bool OfferSpellToBook(const tSpell* spell, TSpellBook& book, tSpecialtyList* table,
                      const AdmitIneligibleFn& admit);

// Offers several spells as one batch, with the outcome of offering them one
// by one: `admit` is asked about each ineligible spell first, in the order
// given, and only then do the copies of those let in go into the book, all
// together (of two equal spells the first offered is the one kept). Sets the
// book's Modified flag when any was let in. Returns those let in, in order.
std::vector<const tSpell*> OfferSpellsToBook(const std::vector<const tSpell*>& spells,
                                             TSpellBook& book, tSpecialtyList* table,
                                             const AdmitIneligibleFn& admit);

} // namespace vellumar
