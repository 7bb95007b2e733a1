// The paged print preview of a book with spell texts: laying the book out as
// the printer will have it (once each time the preview is drawn anew), and
// drawing one page of it (each page turn). Over the first N spells of the
// sample master list with its texts, on A4 at 1200 dots per inch.

#include "library/spell_library.h"
#include "offscreen_bench_main.h"
#include "output/qt/book_rendering.h"

#include <QPageLayout>
#include <QPageSize>

using namespace vellumar;

namespace {

constexpr int Resolution = 1200;
const std::string Sample = VELLUMAR_SOURCE_DIR "/resources/MASTER.DAT";

// The sample master list with its texts, read once.
SpellLibrary& SampleLibrary() {
    static SpellLibrary library;
    static const bool loaded = library.LoadFrom(Sample, TextsRead::Now).list && library.List();
    if (!loaded) std::abort();
    return library;
}

std::unique_ptr<TSpellBook> FirstSpells(int count) {
    TSpellBook* master = SampleLibrary().List();
    auto book = std::make_unique<TSpellBook>(20, 18, 0, "Generalist");
    master->First();
    for (int i = 0; i < count && master->CurrentSpell(); ++i, master->Next())
        book->AddCopy(master->CurrentSpell());
    return book;
}

const SpellTexts& Texts() {
    return SampleLibrary().Texts();
}

OutputFormat WithTexts() {
    OutputFormat format;
    format.IncludeSpellTexts = true;
    return format;
}

const QPageLayout A4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15));

void BM_LayOutPages(benchmark::State& state) {
    const auto book = FirstSpells(int(state.range(0)));
    const SpellTexts& texts = Texts();
    int pages = 0;
    for (auto _ : state)
        pages = LayOutPrintedPages(A4, Resolution, *book, "Book", WithTexts(), &texts).Count();
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayOutPages)->Arg(20)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);

void BM_ShowPage(benchmark::State& state) {
    const auto book = FirstSpells(100);
    const RecordedPages pages =
        LayOutPrintedPages(A4, Resolution, *book, "Book", WithTexts(), &Texts());
    int page = 0;
    for (auto _ : state) {
        const QImage image = RenderPageImage(pages, page, A4, Resolution, 96.0 / Resolution);
        benchmark::DoNotOptimize(image.constBits());
        page = (page + 1) % pages.Count();
    }
}
BENCHMARK(BM_ShowPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
