#pragma once

#include "model/my_list.h"
#include "model/spell.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

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
    // Adds the spell when it sorts after every spell held, in constant time;
    // otherwise false, and the spell stays the caller's. Readers add so.
    bool AddLast(std::unique_ptr<tSpell>& spell);
    // Where the spell stands that made AddSorted refuse an equal one: among
    // the spells given (`given`, at that index), or in the book as it was
    // before (at that position from its first spell).
    struct KeptSpell {
        const tSpell& spell;
        bool given;
        size_t index;
    };
    using RefusedFn = std::function<void(size_t index, const KeptSpell& kept)>;
    // Adds spells sorted in the book's order, in one walk over the book: each
    // goes in unless the book holds an equal spell by then, so of equal ones
    // given the first is kept. A refused spell stays in the vector, and
    // `refused` hears of it.
    void AddSorted(std::vector<std::unique_ptr<tSpell>>& spells, const RefusedFn& refused);
    bool AddCopy(const tSpell* spell);
    // As AddCopy, and leaves the cursor on the copy.
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

    // Whether the book holds a spell of the same level and name.
    bool Contains(const tSpell* spell) const { return spell && Indexed().contains(*spell); }

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
    // The list's own insertions would bypass the index: every spell goes in
    // through AddSpell, AddCopy or AddCopyInOrder. A book never holds equals.
    using tSortedList<tSpell>::Insert;
    using tSortedList<tSpell>::InsertAfterCursor;
    using tSortedList<tSpell>::Append;
    using tSortedList<tSpell>::Unique;

    // Every node in the book's order, so that a spell's place is found in
    // log n steps instead of a walk from the start of the list. Made when a
    // place is first looked up: spells that come in at the end (a file read
    // whole, a fill's pools) never need it, nor its memory.
    struct NodeOrder {
        using is_transparent = void;
        bool operator()(const TNode<tSpell>* a, const TNode<tSpell>* b) const {
            return CompareSpells(*a->Data, *b->Data) < 0;
        }
        bool operator()(const tSpell& a, const TNode<tSpell>* b) const {
            return CompareSpells(a, *b->Data) < 0;
        }
        bool operator()(const TNode<tSpell>* a, const tSpell& b) const {
            return CompareSpells(*a->Data, b) < 0;
        }
    };
    using Index = std::set<TNode<tSpell>*, NodeOrder>;
    const Index& Indexed() const;
    // The node the book's order puts the new spell before (the tail: after
    // the last), or none when the book holds an equal spell.
    std::optional<TNode<tSpell>*> PlaceOf(const tSpell& spell);
    TNode<tSpell>* Link(TNode<tSpell>* before, tSpell* spell);
    void CountIn(const tSpell& spell, int delta);

    mutable Index index_;
    mutable bool indexed_ = false;
};

} // namespace vellumar
