#include "rules/fill.h"

#include "rules/caster_tables.h"
#include "rules/level_index.h"
#include "rules/odds.h"
#include "rules/random.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace vellumar {
namespace {

// Picks until a spell passes the odds test for its frequency, then adds a
// copy; a copy the book already holds is refused and the caller's loop
// condition decides whether to draw again.
void DrawStep(TSpellBook& book, const LevelIndex& pool, int32_t level,
              const FrequencyOddsTable& odds) {
    const tSpell* pick = nullptr;
    do pick = pool.Pick(level);
    while (!OddsTest(odds, pick->Frequency));
    book.AddCopy(pick);
}

// A neutral spell joins the first pool with one chance in ten times its odds.
bool NeutralGoesFirst(const tSpell& spell, const FrequencyOddsTable& odds) {
    const int64_t n = int64_t{10} * EffectiveOdds(odds, spell.Frequency);
    return RandomInt(static_cast<int32_t>(
               std::min<int64_t>(n, std::numeric_limits<int32_t>::max()))) == 0;
}

const tSpell* FindInBook(TSpellBook& book, const tSpell& spell) {
    book.GoToLevel(spell.Level);
    for (; const tSpell* held = book.CurrentSpell(); book.Next()) {
        if (held->Level != spell.Level) break;
        if (CompareSpells(spell, *held) == 0) return held;
    }
    return nullptr;
}

} // namespace

void FillFromPool(TSpellBook& book, TSpellBook& pool, const FrequencyOddsTable& odds) {
    const int32_t caster = book.CasterLevel;
    const int32_t intelligence = book.Intelligence;
    if (intelligence < MinIntelligence || intelligence > MaxIntelligence ||
        caster < MinCasterLevel || caster > MaxCasterLevel)
        return;
    // A reference book refuses every copy, so its draw loops would never end.
    if (book.IsReference || &book == &pool) return;

    const LevelIndex index(pool);
    const int32_t newLevelTarget = NewLevelSpells(intelligence);
    const int32_t maxTarget = MaxSpellsPerLevel(intelligence);
    for (int32_t s = MinSpellLevel; s <= MaxSpellLevel; ++s) {
        const int32_t available = index.Count(s);
        while (book.LevelCount[s] < newLevelTarget && book.LevelCount[s] < available &&
               SpellsPerDay(caster, s) != 0)
            DrawStep(book, index, s, odds);
        for (int32_t r = MinCasterLevel; r < caster; ++r)
            while (SpellsPerDay(r, s) != 0 && book.LevelCount[s] < maxTarget &&
                   book.LevelCount[s] < available)
                DrawStep(book, index, s, odds);
    }
}

void FillSpellbook(TSpellBook* book, TSpellBook* master, tSpecialtyList* table,
                   const FrequencyOddsTable& odds) {
    if (!book || !master) return;
    TSpellBook firstPool;
    TSpellBook secondPool;
    firstPool.MakeReference();
    secondPool.MakeReference();

    const tSpecialty* specialty = table ? table->FindByName(book->Specialty) : nullptr;
    // The master list is ordered by level and a caster's castable levels run
    // from 1 upward, so the scan stops at the first level out of reach.
    for (master->First(); tSpell* spell = master->CurrentSpell(); master->Next()) {
        if (SpellsPerDay(book->CasterLevel, spell->Level) == 0) break;
        if (table && !IsSpellValidForSpecialty(*spell, *book, specialty)) continue;
        if (!specialty || specialty->Classify(spell) == StandingPreferred ||
            NeutralGoesFirst(*spell, odds))
            firstPool.AddSpell(spell);
        else
            secondPool.AddSpell(spell);
    }
    FillFromPool(*book, firstPool, odds);
    FillFromPool(*book, secondPool, odds);
}

RandomSpellResult AddRandomSpell(TSpellBook& book, TSpellBook* master, tSpecialtyList* table,
                                 const FrequencyOddsTable& odds, int32_t level,
                                 const AdmitIneligibleFn& admit) {
    if (!master) return {RandomSpellOutcome::NoMasterList};
    if (book.CountOfLevel(level) >= master->CountOfLevel(level)) return {};
    // The master's spells of the level, and which of them the book holds:
    // both lists are in the same order, so one pass over each tells.
    const LevelIndex index(*master, level);
    const auto& spells = index.Spells(level);
    if (spells.empty()) return {};
    std::vector<bool> held(spells.size());
    book.GoToLevel(level);
    for (size_t i = 0; i < spells.size() && book.CurrentSpell();) {
        const tSpell* own = book.CurrentSpell();
        const int32_t order = own->Level != level ? -1 : CompareSpells(*spells[i], *own);
        if (order <= 0) held[i++] = order == 0;
        if (order >= 0) book.Next();
    }
    // The book lacks at least one spell of the level that the master list
    // holds, so this ends. The odds are drawn on every pick.
    int32_t position = 0;
    for (;;) {
        position = index.PickPosition(level);
        const bool accepted = OddsTest(odds, spells[static_cast<size_t>(position)]->Frequency);
        if (accepted && !held[static_cast<size_t>(position)]) break;
    }
    // A look-up leaves the cursor on what it found.
    const tSpell* pick = master->SpellAt(level, position);
    if (!OfferSpellToBook(pick, book, table, admit)) return {RandomSpellOutcome::Refused};
    return {RandomSpellOutcome::Added, FindInBook(book, *pick)};
}

} // namespace vellumar
