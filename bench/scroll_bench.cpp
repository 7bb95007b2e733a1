// Scrolls and Add Random Spell on a 200,000-spell book: a scroll of every
// first-level spell, and a random spell for a book that lacks one of a level.

#include "generated_master.h"
#include "model/specialty.h"
#include "rules/fill.h"
#include "rules/random.h"
#include "rules/scroll.h"

#include <benchmark/benchmark.h>

using namespace vellumar;

namespace {

void BM_ScrollOfEveryFirstLevelSpell(benchmark::State& state) {
    const auto book = GenerateMaster(static_cast<int>(state.range(0)));
    std::array<int32_t, 9> counts{};
    counts[0] = book->LevelCount[1];
    SeedRandom(1);
    for (auto _ : state) {
        auto scroll = DrawScroll(*book, counts);
        benchmark::DoNotOptimize(scroll->Count());
    }
    state.counters["level1"] = counts[0];
}
BENCHMARK(BM_ScrollOfEveryFirstLevelSpell)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The book holds every first-level spell of the master list but one, so most
// picks are refused.
void BM_AddRandomSpellToANearlyFullLevel(benchmark::State& state) {
    const auto master = GenerateMaster(static_cast<int>(state.range(0)));
    const auto table = BuiltInSpecialties();
    TSpellBook book(30, 21, -4, "Generalist");
    for (master->First(); master->CurrentLevel() == 1; master->Next())
        book.AddCopy(master->CurrentSpell());
    master->GoToLevel(1);
    book.GoToLevel(1);
    book.DeleteCurrent();
    SeedRandom(1);
    for (auto _ : state) {
        const tSpell* added =
            AddRandomSpell(book, master.get(), table.get(), DefaultFrequencyOdds, 1, {}).spell;
        state.PauseTiming();
        book.GoToLevel(1);
        book.DeleteCurrent(); // the level lacks one spell again
        state.ResumeTiming();
        benchmark::DoNotOptimize(added);
    }
}
BENCHMARK(BM_AddRandomSpellToANearlyFullLevel)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
