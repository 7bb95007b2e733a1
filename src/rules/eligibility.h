#pragma once
// Which spells a spellbook may hold, and the two ways a book is held to it:
// validation removes what breaks the rules, an offer asks before letting it in.

#include "model/specialty.h"
#include "model/spell_book.h"

#include <functional>
#include <string>

namespace vellumar {

// Shows a box with OK and Cancel; true for OK.
using ConfirmFn = std::function<bool(const std::string& text)>;
// Shows an error box with OK.
using ErrorFn = std::function<void(const std::string& text)>;

// The question asked before an ineligible spell is let into a book.
std::string InvalidSpellText(const std::string& spellName);

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

// Adds a copy when the spell is eligible or the user confirms, and then sets
// the book's Modified flag. True when the spell was let in (also when the book
// already held an equal one).
bool OfferSpellToBook(const tSpell* spell, TSpellBook& book, tSpecialtyList* table,
                      const ConfirmFn& confirm);

} // namespace vellumar
