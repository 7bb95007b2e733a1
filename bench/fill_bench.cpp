// Filling the largest book (caster level 30, Intelligence 21, a specialist)
// from master lists of realistic make-up, and the clipboard text of the result.

#include "model/specialty.h"
#include "output/spellbook_text.h"
#include "rules/fill.h"
#include "rules/random.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

using namespace vellumar;

namespace {

// More low-level spells than high; mostly Common and Uncommon; the schools of
// the built-in specialties with a few combined categories.
std::unique_ptr<TSpellBook> GenerateMaster(int spells) {
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

void BM_FillSpellbook(benchmark::State& state) {
    const auto master = GenerateMaster(static_cast<int>(state.range(0)));
    const auto table = BuiltInSpecialties();
    SeedRandom(1);
    int64_t added = 0;
    for (auto _ : state) {
        TSpellBook book(30, 21, -4, "Invoker");
        FillSpellbook(&book, master.get(), table.get());
        added += book.Count();
        benchmark::DoNotOptimize(book.Count());
    }
    state.counters["spells"] =
        benchmark::Counter(static_cast<double>(added), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FillSpellbook)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BuildSpellbookText(benchmark::State& state) {
    const auto master = GenerateMaster(2000);
    const auto table = BuiltInSpecialties();
    SeedRandom(1);
    TSpellBook book(30, 21, -4, "Generalist");
    FillSpellbook(&book, master.get(), table.get());
    OutputFormat format;
    format.Columns = static_cast<int32_t>(state.range(0));
    format.IncludeCategory = format.IncludeFrequency = true;
    for (auto _ : state) {
        auto text = JoinWithCrLf(BuildSpellbookText(book, "C:\\Books\\Gorm.SPB", format));
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["spells"] = book.Count();
}
BENCHMARK(BM_BuildSpellbookText)->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
