#pragma once

#include "model/my_list.h"
#include "model/spell.h"

#include <array>
#include <memory>
#include <string>

namespace vellumar {

constexpr int MinSpellLevel = 1;
constexpr int MaxSpellLevel = 9;

// An ordered set of spells (by level, then name without regard to case) with
// the parameters of its caster. Also serves as the master list and, with
// IsReference set, as a fill pool that borrows spells it does not own.
class TSpellBook : public tSortedList<tSpell> {
public:
    TSpellBook(int32_t casterLevel = 0, int32_t intelligence = 0, int32_t spellFrequency = 0,
               std::string specialty = {});
    ~TSpellBook() override;

    // Takes ownership of the spell when inserted; a refused spell stays the caller's.
    bool AddSpell(tSpell* spell);
    bool AddSpell(std::unique_ptr<tSpell>& spell);
    bool AddCopy(const tSpell* spell);
    // As AddCopy, but tries the place after the cursor first and leaves the
    // cursor on the copy: spells copied in book order go in one step each.
    bool AddCopyInOrder(const tSpell& spell);
    void MakeReference() { IsReference = true; }
    void DeleteCurrent() override;

    tSpell* CurrentSpell() const { return CurrentItem(); }
    int32_t CurrentLevel() const;
    std::string CurrentName() const;
    std::string CurrentBook() const;
    int32_t CurrentPage() const;
    int32_t CurrentFrequency() const;
    std::string CurrentCategory() const;

    void GoToLevel(int32_t level);
    tSpell* SpellAt(int32_t level, int32_t index);

    // Count of a level, 0 for a level outside 1..9.
    int32_t CountOfLevel(int32_t level) const {
        return level >= MinSpellLevel && level <= MaxSpellLevel ? LevelCount[level] : 0;
    }

    int32_t CasterLevel;
    int32_t Intelligence;
    int32_t SpellFrequency;
    std::string Specialty;
    std::array<int32_t, MaxSpellLevel + 1> LevelCount{}; // slots 1..9 used
    bool IsReference = false;

private:
    void CountIn(const tSpell& spell, int delta);
};

} // namespace vellumar
