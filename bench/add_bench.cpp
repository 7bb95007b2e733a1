// Adding many spells to a spellbook, as the windows do it: all 100,000 spells
// of a master list offered to a book (Add Spells to Book with every level
// shown), the same spells imported from a file (read, then offered one by
// one), and one spell added to a book of 100,000.
// The second argument is what the book holds before: nothing (0), every
// second spell (1, the new ones go between), or all of them (2, every one a
// repeat); the third, whether the spells come in book order (0) or shuffled (1).

#include "files/spell_file.h"
#include "generated_master.h"
#include "rules/eligibility.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

using namespace vellumar;

namespace {

std::vector<const tSpell*> MasterSpells(bool shuffled) {
    std::vector<const tSpell*> spells;
    TSpellBook& master = Master();
    for (master.First(); const tSpell* spell = master.CurrentSpell(); master.Next())
        spells.push_back(spell);
    if (shuffled) std::shuffle(spells.begin(), spells.end(), std::mt19937(7));
    return spells;
}

// A book of a high-level generalist; every second master spell or all of them in it.
std::unique_ptr<TSpellBook> StartingBook(int64_t holds) {
    auto book = std::make_unique<TSpellBook>(20, 18, 0, "Generalist");
    if (holds == 0) return book;
    int i = 0;
    for (const tSpell* spell : MasterSpells(false))
        if (holds == 2 || i++ % 2 == 0) book->AddCopy(spell);
    return book;
}

// What the spellbook window does with each spell: the offer, without a
// specialty table every spell is eligible.
void OfferAll(const std::vector<const tSpell*>& spells, TSpellBook& book) {
    for (const tSpell* spell : spells) OfferSpellToBook(spell, book, nullptr, {});
}

void BM_AddAllMasterSpells(benchmark::State& state) {
    const std::vector<const tSpell*> spells = MasterSpells(state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto book = StartingBook(state.range(0));
        state.ResumeTiming();
        OfferAll(spells, *book);
        benchmark::DoNotOptimize(book->Count());
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddAllMasterSpells)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The master list written as a file, once, removed at the end.
class ListFile {
public:
    ListFile()
        : path_(std::filesystem::temp_directory_path() /
                ("vellumar-add-bench-" + std::to_string(getpid()) + ".dat")) {
        // The writer empties the book it writes: write a copy.
        TSpellBook copy;
        TSpellBook& master = Master();
        for (master.First(); const tSpell* spell = master.CurrentSpell(); master.Next())
            copy.AddCopyInOrder(*spell);
        if (!WriteSpellList(copy, path_.string())) std::abort();
    }
    ~ListFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void BM_ImportSpellFile(benchmark::State& state) {
    static const ListFile file;
    for (auto _ : state) {
        state.PauseTiming();
        auto book = StartingBook(state.range(0));
        state.ResumeTiming();
        const std::unique_ptr<TSpellBook> read = ReadSpellList(file.Path()).Take();
        for (read->First(); const tSpell* spell = read->CurrentSpell(); read->Next())
            OfferSpellToBook(spell, *book, nullptr, {});
        benchmark::DoNotOptimize(book->Count());
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportSpellFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1);

// A new spell in the middle of a level-5 of a 100,000-spell book, each time another.
void BM_AddOneSpell(benchmark::State& state) {
    const auto book = StartingBook(2);
    int64_t n = 0;
    for (auto _ : state) {
        auto spell = std::make_unique<tSpell>(5, "Spell 5-005000 " + std::to_string(n++), "Tome", 1,
                                              0, "abj");
        benchmark::DoNotOptimize(book->AddSpell(spell));
    }
    state.counters["book"] = double(book->Count());
}
BENCHMARK(BM_AddOneSpell)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

BENCHMARK_MAIN();
