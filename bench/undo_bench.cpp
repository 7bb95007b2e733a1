// Undo and Redo of deleting a whole level of a 100,000-spell master list: the
// deletion with the copies Undo keeps, taking it back, and doing it again.

#include "generated_master.h"
#include "model/book_change.h"

#include <benchmark/benchmark.h>

using namespace vellumar;

namespace {

constexpr int MasterSize = 100000;

// The copies of the spells of a whole level, as Undo keeps them.
BookChange CopyLevel(TSpellBook& book, int level) {
    BookChange change(CasterFields::Of(book));
    for (book.GoToLevel(level); book.CurrentSpell() && book.CurrentLevel() == level; book.Next())
        change.Removed(*book.CurrentSpell());
    change.Empty(); // settles the copies, as recording does
    return change;
}

// As the master list window deletes selected rows: one by one from the top.
void DeleteLevel(TSpellBook& book, int level) {
    while (book.SpellAt(level, 0)) book.DeleteCurrent();
}

// The deletion with the copies for Undo (second argument 1), and without
// them (0) for comparison.
void BM_DeleteLevel(benchmark::State& state) {
    const auto master = GenerateMaster(MasterSize);
    const int level = static_cast<int>(state.range(0));
    const bool keepForUndo = state.range(1) != 0;
    state.counters["spells"] = master->CountOfLevel(level);
    for (auto _ : state) {
        if (!keepForUndo) state.PauseTiming();
        const BookChange change = CopyLevel(*master, level);
        if (!keepForUndo) state.ResumeTiming();
        DeleteLevel(*master, level);
        state.PauseTiming();
        change.Undo(*master);
        state.ResumeTiming();
    }
}

// One direction timed, the other one untimed to set the list up again.
void TimeUndoOrRedo(benchmark::State& state, bool undo) {
    const auto master = GenerateMaster(MasterSize);
    const int level = static_cast<int>(state.range(0));
    const BookChange change = CopyLevel(*master, level);
    if (undo) DeleteLevel(*master, level);
    for (auto _ : state) {
        undo ? change.Undo(*master) : change.Redo(*master);
        state.PauseTiming();
        undo ? change.Redo(*master) : change.Undo(*master);
        state.ResumeTiming();
    }
}

void BM_UndoLevelDelete(benchmark::State& state) {
    TimeUndoOrRedo(state, true);
}

void BM_RedoLevelDelete(benchmark::State& state) {
    TimeUndoOrRedo(state, false);
}

// Level 1 is the largest (18,000 spells) and stands first; level 5 stands
// amid the list.
BENCHMARK(BM_DeleteLevel)->ArgsProduct({{1, 5}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoLevelDelete)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoLevelDelete)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
