// Filling the largest book (caster level 30, Intelligence 21, a specialist)
// from master lists of realistic make-up, and the clipboard text of the result.

#include "generated_master.h"
#include "model/specialty.h"
#include "output/spellbook_text.h"
#include "rules/fill.h"
#include "rules/random.h"

#include <benchmark/benchmark.h>

using namespace vellumar;

namespace {

void BM_FillSpellbook(benchmark::State& state) {
    const auto master = GenerateMaster(static_cast<int>(state.range(0)));
    const auto table = BuiltInSpecialties();
    SeedRandom(1);
    int64_t added = 0;
    for (auto _ : state) {
        TSpellBook book(30, 21, -4, "Invoker");
        FillSpellbook(&book, master.get(), table.get(), DefaultFrequencyOdds);
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
    FillSpellbook(&book, master.get(), table.get(), DefaultFrequencyOdds);
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
