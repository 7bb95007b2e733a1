#include "rules/scroll.h"

#include <algorithm>

namespace vellumar {

std::unique_ptr<TSpellBook> DrawScroll(TSpellBook& source, const std::array<int32_t, 9>& counts) {
    auto scroll = std::make_unique<TSpellBook>(source.CasterLevel, source.Intelligence,
                                               source.SpellFrequency, source.Specialty);
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        const int32_t wanted =
            std::clamp(counts[static_cast<size_t>(level - 1)], 0, source.LevelCount[level]);
        // A spell drawn twice is refused by the scroll, so this collects
        // `wanted` different spells.
        while (scroll->LevelCount[level] < wanted) {
            const tSpell* spell = source.RandomSpellOfLevel(level);
            if (!spell || spell->Level != level) break;
            scroll->AddCopy(spell);
        }
    }
    scroll->Modified = true;
    return scroll;
}

} // namespace vellumar
