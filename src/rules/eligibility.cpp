#include "rules/eligibility.h"

#include "rules/caster_tables.h"

namespace vellumar {

std::string InvalidSpellText(const std::string& spellName) {
    return "Added spell...\r\n--->  " + spellName + "  <---\r\nis invalid for this spellbook";
}

namespace {

// A spell rarer than the book's setting has a lower code.
bool LevelAndFrequencyAllow(const tSpell& spell, const TSpellBook& book) {
    return SpellsPerDay(book.CasterLevel, spell.Level) != 0 &&
           spell.Frequency >= book.SpellFrequency;
}

bool SpecialtyAllows(const tSpell& spell, const tSpecialty* specialty) {
    return !specialty || specialty->Classify(&spell) != StandingProhibited;
}

} // namespace

bool IsSpellValidForSpecialty(const tSpell& spell, const TSpellBook& book,
                              const tSpecialty* specialty) {
    return LevelAndFrequencyAllow(spell, book) && SpecialtyAllows(spell, specialty);
}

bool IsSpellValidForBook(const tSpell* spell, const TSpellBook* book, tSpecialtyList* table) {
    if (!spell || !book || !table) return true;
    if (!LevelAndFrequencyAllow(*spell, *book)) return false;
    return SpecialtyAllows(*spell, table->FindByName(book->Specialty));
}

void ValidateBook(TSpellBook& book, tSpecialtyList* table,
                  const std::function<void(const tSpell&)>& onRemove) {
    // Removing a spell puts the cursor on the spell before it, or on the new
    // first spell when there is none before; that one is still to be tested.
    const tSpell* lastKept = nullptr;
    book.First();
    while (tSpell* spell = book.CurrentSpell()) {
        if (IsSpellValidForBook(spell, &book, table)) {
            lastKept = spell;
            book.Next();
            continue;
        }
        if (onRemove) onRemove(*spell);
        book.DeleteCurrent();
        if (lastKept) book.Next();
    }
}

bool OfferSpellToBook(const tSpell* spell, TSpellBook& book, tSpecialtyList* table,
                      const ConfirmFn& confirm) {
    if (!spell) return false;
    if (!IsSpellValidForBook(spell, &book, table) &&
        !(confirm && confirm(InvalidSpellText(spell->Name))))
        return false;
    book.AddCopy(spell);
    book.Modified = true;
    return true;
}

} // namespace vellumar
