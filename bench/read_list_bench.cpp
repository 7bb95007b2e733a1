// Reading master lists, as the spell library loads them (its texts put off):
// sorted ones as the program writes them, and shuffled ones (hand-edited
// files). Reports the heap bytes the read list holds per spell.

#include "files/spell_file.h"
#include "library/spell_library.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <random>
#include <unistd.h>

using namespace vellumar;

namespace {

class BenchFolder {
public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("vellumar-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    // Writes the list on first use: spells over levels 1 to 9 with names of
    // varied length, in book order or shuffled.
    const std::string& List(int64_t count, bool sorted) {
        const auto key = std::make_pair(count, sorted);
        if (auto found = files_.find(key); found != files_.end()) return found->second;
        static const char* const words[] = {"Arcane", "Bolt",  "Chill", "Dancing",   "Eldritch",
                                            "Fire",   "Glyph", "Hold",  "Invisible", "Lightning"};
        std::mt19937 engine(static_cast<uint32_t>(count));
        std::vector<tSpell> spells;
        spells.reserve(static_cast<size_t>(count));
        for (int64_t i = 0; i < count; ++i) {
            std::string name = words[engine() % 10];
            if (engine() % 2) name += std::string(" ") + words[engine() % 10];
            name += " " + std::to_string(i);
            spells.emplace_back(int32_t(1 + i % 9), name, "PHB", int32_t(engine() % 300),
                                -int32_t(engine() % 5), i % 3 ? "i/e" : "abj");
        }
        if (sorted)
            std::sort(spells.begin(), spells.end(),
                      [](const tSpell& a, const tSpell& b) { return CompareSpells(a, b) < 0; });
        else
            std::shuffle(spells.begin(), spells.end(), engine);
        const std::string path =
            (path_ / ((sorted ? "sorted-" : "shuffled-") + std::to_string(count) + ".dat"))
                .string();
        std::ofstream out(path, std::ios::binary);
        for (const tSpell& spell : spells) out << SpellLine(spell) << "\r\n";
        out << " \r\n";
        return files_[key] = path;
    }

private:
    std::filesystem::path path_;
    std::map<std::pair<int64_t, bool>, std::string> files_;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

void ReadList(benchmark::State& state, bool sorted) {
    const int64_t count = state.range(0);
    const std::string& path = Folder().List(count, sorted);
    double bytesPerSpell = 0;
    SpellLibrary library;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        library.LoadFrom(path, TextsRead::Later);
        const size_t after = mallinfo2().uordblks;
        state.PauseTiming();
        const TSpellBook* book = library.List();
        if (!book || book->Count() != count) state.SkipWithError("the list did not read whole");
        bytesPerSpell = double(after - before) / double(count);
        library.SetList(nullptr); // releasing the list is not part of the read
        state.ResumeTiming();
    }
    state.counters["bytes_per_spell"] = bytesPerSpell;
    state.counters["spells_per_s"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ReadSortedList(benchmark::State& state) {
    ReadList(state, true);
}
void BM_ReadShuffledList(benchmark::State& state) {
    ReadList(state, false);
}

} // namespace

BENCHMARK(BM_ReadSortedList)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// Out-of-order input is sorted before it goes into the list, so a shuffled
// list reads in n log n, not in a walk of the list per spell.
BENCHMARK(BM_ReadShuffledList)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
