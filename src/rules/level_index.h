#pragma once
// The spells of a book by level, so that a random pick indexes instead of
// walking the list. A pick draws the same random position RandomSpellOfLevel
// would, so a seed gives the same spells either way.

#include "model/spell_book.h"
#include "rules/random.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vellumar {

class LevelIndex {
public:
    // Every level of the book; or, with `only`, that level alone.
    explicit LevelIndex(TSpellBook& book, int32_t only = 0) {
        if (only)
            book.GoToLevel(only);
        else
            book.First();
        for (; const tSpell* spell = book.CurrentSpell(); book.Next()) {
            if (only && spell->Level != only) break;
            if (spell->Level >= MinSpellLevel && spell->Level <= MaxSpellLevel)
                levels_[static_cast<size_t>(spell->Level)].push_back(spell);
        }
    }
    int32_t Count(int32_t level) const { return static_cast<int32_t>(Spells(level).size()); }
    const std::vector<const tSpell*>& Spells(int32_t level) const {
        return levels_[static_cast<size_t>(level)];
    }
    // A random position within the level; the level must hold a spell.
    int32_t PickPosition(int32_t level) const { return RandomInt(Count(level)); }
    const tSpell* Pick(int32_t level) const {
        return Spells(level)[static_cast<size_t>(PickPosition(level))];
    }

private:
    std::array<std::vector<const tSpell*>, MaxSpellLevel + 1> levels_;
};

// A random spell of the level by walking the book; leaves the cursor on it.
// nullptr when the book holds no spell at or above the level.
inline tSpell* RandomSpellOfLevel(TSpellBook& book, int32_t level) {
    book.GoToLevel(level);
    const int32_t steps = RandomInt(book.CountOfLevel(level));
    for (int32_t i = 0; i < steps; ++i) book.Next();
    return book.CurrentSpell();
}

} // namespace vellumar
