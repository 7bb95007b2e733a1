#pragma once
// A master list of realistic make-up for the benchmarks, the same on every run.

#include "model/spell_book.h"

#include <cstdio>
#include <iterator>
#include <memory>
#include <random>

namespace vellumar {

// More low-level spells than high; mostly Common and Uncommon; the schools of
// the built-in specialties with a few combined categories.
inline std::unique_ptr<TSpellBook> GenerateMaster(int spells) {
    static const int levelWeights[9] = {18, 16, 14, 12, 11, 9, 8, 7, 5};
    static const int frequencyWeights[5] = {4, 8, 14, 26, 48}; // Restricted .. Common
    static const char* categories[] = {"abj", "alt", "c/s",     "div",     "e/c",     "i/e",
                                       "ill", "nec", "alt/i/e", "ill/abj", "div/e/c", ""};
    std::mt19937 gen(12345);
    std::discrete_distribution<int> frequency(std::begin(frequencyWeights),
                                              std::end(frequencyWeights));
    std::uniform_int_distribution<size_t> category(0, std::size(categories) - 1);
    auto master = std::make_unique<TSpellBook>();
    int made = 0;
    for (int level = 1; level <= 9; ++level) {
        const int count = level == 9 ? spells - made : spells * levelWeights[level - 1] / 100;
        for (int i = 0; i < count; ++i, ++made) {
            char name[32];
            std::snprintf(name, sizeof name, "Spell %d-%06d", level, i);
            master->AddSpell(new tSpell(level, name, "Tome", i % 400, frequency(gen) - 4,
                                        categories[category(gen)]));
        }
    }
    return master;
}

// The 100,000-spell list the benchmarks share, made once for the run.
inline constexpr int MasterSize = 100000;
inline TSpellBook& Master() {
    static const std::unique_ptr<TSpellBook> master = GenerateMaster(MasterSize);
    return *master;
}

} // namespace vellumar
