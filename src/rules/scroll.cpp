#include "rules/scroll.h"

#include "rules/level_index.h"

#include <algorithm>
#include <vector>

namespace vellumar {

std::unique_ptr<TSpellBook> DrawScroll(TSpellBook& source, const std::array<int32_t, 9>& counts) {
    auto scroll = std::make_unique<TSpellBook>(source.CasterLevel, source.Intelligence,
                                               source.SpellFrequency, source.Specialty);
    const LevelIndex index(source);
    for (int32_t level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        const int32_t held = index.Count(level);
        const int32_t wanted = std::clamp(counts[static_cast<size_t>(level - 1)], 0, held);
        // A position drawn twice adds nothing, so this collects `wanted`
        // different spells with the same draws as picking them one by one.
        std::vector<bool> drawn(static_cast<size_t>(index.Count(level)));
        for (int32_t taken = 0; taken < wanted;) {
            const auto position = static_cast<size_t>(index.PickPosition(level));
            if (!drawn[position]) drawn[position] = true, ++taken;
        }
        // Copied in the book's order, each lands at the end of the scroll.
        for (size_t position = 0; position < drawn.size(); ++position)
            if (drawn[position]) scroll->AddCopy(index.Spells(level)[position]);
    }
    scroll->Modified = true;
    return scroll;
}

} // namespace vellumar
