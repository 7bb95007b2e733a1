// Undo and Redo of deleting a whole level of a 100,000-spell master list: the
// deletion with the copies Undo keeps, taking it back, and doing it again.

#include "generated_master.h"
#include "model/book_change.h"

#include <benchmark/benchmark.h>

#include <numeric>

using namespace vellumar;

namespace {

constexpr int MasterSize = 100000;

// As the master list window deletes selected rows: the spells that go are
// copied for Undo, then taken out one by one from the top of the level.
BookChange DeleteLevel(TSpellBook& book, int level) {
    BookChange change(CasterFields::Of(book));
    std::vector<int> rows(static_cast<size_t>(book.CountOfLevel(level)));
    std::iota(rows.begin(), rows.end(), 0);
    change.RemovedAt(book, level, rows);
    while (book.SpellAt(level, 0)) book.DeleteCurrent();
    change.Empty(); // settles the copies, as recording does
    return change;
}

void BM_DeleteLevelWithItsUndoCopy(benchmark::State& state) {
    const auto master = GenerateMaster(MasterSize);
    const int level = static_cast<int>(state.range(0));
    state.counters["spells"] = master->CountOfLevel(level);
    for (auto _ : state) {
        BookChange change = DeleteLevel(*master, level);
        state.PauseTiming();
        change.Undo(*master);
        state.ResumeTiming();
    }
}

void BM_UndoLevelDelete(benchmark::State& state) {
    const auto master = GenerateMaster(MasterSize);
    const int level = static_cast<int>(state.range(0));
    const BookChange change = DeleteLevel(*master, level);
    for (auto _ : state) {
        change.Undo(*master);
        state.PauseTiming();
        change.Redo(*master);
        state.ResumeTiming();
    }
}

void BM_RedoLevelDelete(benchmark::State& state) {
    const auto master = GenerateMaster(MasterSize);
    const int level = static_cast<int>(state.range(0));
    const BookChange change = DeleteLevel(*master, level);
    change.Undo(*master);
    for (auto _ : state) {
        change.Redo(*master);
        state.PauseTiming();
        change.Undo(*master);
        state.ResumeTiming();
    }
}

// Level 1 is the largest (18,000 spells) and stands first; level 5 stands
// amid the list.
BENCHMARK(BM_DeleteLevelWithItsUndoCopy)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoLevelDelete)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoLevelDelete)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
