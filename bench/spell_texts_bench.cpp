// Reading and writing the spell texts file: the sample's companion, and
// companions of many spells as the program writes them (about 170 bytes of
// texts a spell: 200,000 spells hold 34 MB). Reports the file's size and the
// heap the read texts hold per byte of it.

#include "files/spell_texts_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <unistd.h>

using namespace vellumar;

namespace {

SpellTexts MakeTexts(int64_t count) {
    SpellTexts texts;
    for (int64_t i = 0; i < count; ++i) {
        const std::string words = "Spell " + std::to_string(i) + " does what it says. ";
        SpellText text;
        text.School = "Evocation";
        text.CastingTime = "1 action";
        text.Range = "60 feet";
        text.Components = {"V", "S"};
        text.Duration = "Instantaneous";
        text.Description = {words + words + words, words};
        texts.Set(int32_t(1 + i % 9), "Spell " + std::to_string(i), std::move(text));
    }
    return texts;
}

class BenchFolder {
public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("vellumar-texts-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    // Writes the companion of `count` spells on first use.
    const std::string& Texts(int64_t count) {
        if (auto found = files_.find(count); found != files_.end()) return found->second;
        const std::string path = (path_ / (std::to_string(count) + ".texts.json")).string();
        if (!WriteSpellTexts(MakeTexts(count), path))
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return files_[count] = path;
    }

private:
    std::filesystem::path path_;
    std::map<int64_t, std::string> files_;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

void ReadTexts(benchmark::State& state, const std::string& path, size_t entries) {
    const auto bytes = std::filesystem::file_size(path);
    double heapPerByte = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto texts = ReadSpellTexts(path).Take();
        const size_t after = mallinfo2().uordblks;
        state.PauseTiming();
        if (!texts || texts->Size() != entries) {
            state.SkipWithError("the texts did not read whole");
            break;
        }
        heapPerByte = double(after - before) / double(bytes);
        texts.reset(); // releasing the texts is not part of the read
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(bytes) / 1e6;
    state.counters["heap_per_file_byte"] = heapPerByte;
    state.SetBytesProcessed(int64_t(bytes) * int64_t(state.iterations()));
}

void BM_ReadSampleTexts(benchmark::State& state) {
    ReadTexts(state, VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT.texts.json", 190);
}

void BM_ReadTexts(benchmark::State& state) {
    ReadTexts(state, Folder().Texts(state.range(0)), size_t(state.range(0)));
}

void BM_WriteTexts(benchmark::State& state) {
    const SpellTexts texts = MakeTexts(state.range(0));
    size_t bytes = 0;
    for (auto _ : state) {
        auto written = SpellTextsFileText(texts);
        if (!written) state.SkipWithError(written.Reason().c_str());
        bytes = written ? written->size() : 0;
    }
    state.counters["file_MB"] = double(bytes) / 1e6;
    state.SetBytesProcessed(int64_t(bytes) * int64_t(state.iterations()));
}

} // namespace

BENCHMARK(BM_ReadSampleTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTexts)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteTexts)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
