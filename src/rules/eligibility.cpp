#include "rules/eligibility.h"

#include "rules/caster_tables.h"

namespace vellumar {

namespace {

// A spell rarer than the book's setting has a lower code.
Ineligibility LevelAndFrequency(const tSpell& spell, const TSpellBook& book) {
    if (SpellsPerDay(book.CasterLevel, spell.Level) == 0) return Ineligibility::NotCastable;
    if (spell.Frequency < book.SpellFrequency) return Ineligibility::TooRare;
    return Ineligibility::None;
}

bool LevelAndFrequencyAllow(const tSpell& spell, const TSpellBook& book) {
    return LevelAndFrequency(spell, book) == Ineligibility::None;
}

bool SpecialtyAllows(const tSpell& spell, const tSpecialty* specialty) {
    return !specialty || specialty->Classify(&spell) != StandingProhibited;
}

} // namespace

bool IsSpellValidForSpecialty(const tSpell& spell, const TSpellBook& book,
                              const tSpecialty* specialty) {
    return LevelAndFrequencyAllow(spell, book) && SpecialtyAllows(spell, specialty);
}

Ineligibility WhyIneligible(const tSpell& spell, const TSpellBook& book, tSpecialtyList* table) {
    if (!table) return Ineligibility::None;
    if (const Ineligibility why = LevelAndFrequency(spell, book); why != Ineligibility::None)
        return why;
    // The table is consulted only when the first two pass.
    return SpecialtyAllows(spell, table->FindByName(book.Specialty)) ? Ineligibility::None
                                                                     : Ineligibility::Prohibited;
}

bool IsSpellValidForBook(const tSpell* spell, const TSpellBook* book, tSpecialtyList* table) {
    return !spell || !book || WhyIneligible(*spell, *book, table) == Ineligibility::None;
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
                      const AdmitIneligibleFn& admit) {
    if (!spell) return false;
    if (const Ineligibility why = WhyIneligible(*spell, book, table);
        why != Ineligibility::None && !(admit && admit(*spell, why)))
        return false;
    book.AddCopy(spell);
    book.Modified = true;
    return true;
}

std::vector<const tSpell*> OfferSpellsToBook(const std::vector<const tSpell*>& spells,
                                             TSpellBook& book, tSpecialtyList* table,
                                             const AdmitIneligibleFn& admit) {
    // Whether a spell may go in depends on the caster, never on the spells
    // the book holds: every answer can be had before the first copy goes in.
    std::vector<const tSpell*> letIn;
    letIn.reserve(spells.size());
    for (const tSpell* spell : spells) {
        if (!spell) continue;
        const Ineligibility why = WhyIneligible(*spell, book, table);
        if (why == Ineligibility::None || (admit && admit(*spell, why))) letIn.push_back(spell);
    }
    for (const tSpell* spell : letIn) book.AddCopy(spell);
    if (!letIn.empty()) book.Modified = true;
    return letIn;
}

} // namespace vellumar
