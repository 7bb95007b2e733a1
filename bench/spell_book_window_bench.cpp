// The typing path of a spellbook window, offscreen, on a book of a few hundred
// spells: typing a caster level (the spin box's value set, so that its change
// handler runs) and adding one spell through the window's add path (what Add
// Spells to Book and a drop do), each with the events they post handled.
// Run it on two builds to see that work moved off these paths costs them nothing.

#include "files/spell_file.h"
#include "generated_master.h"
#include "offscreen_bench_main.h"
#include "platform/qt/standard_error_prompter.h"
#include "ui/app.h"
#include "ui/frame_window.h"
#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace vellumar;

namespace {

constexpr int BookSize = 300;

// The program started in a folder of its own, with no settings, no master
// list, and a book of BookSize spells of a caster who may hold them all.
class Program {
public:
    Program() : prompter_(QStringLiteral("Vellumar 95")) {
        if (!folder_.isValid()) std::abort();
        qputenv("VELLUMAR_HOME", QFile::encodeName(folder_.path() + QLatin1Char('/')));
        QDir::setCurrent(folder_.path());
        std::unique_ptr<TSpellBook> book = GenerateMaster(BookSize);
        book->CasterLevel = 20;
        book->Intelligence = 19;
        bookPath_ = folder_.filePath(QStringLiteral("bench.spb"));
        if (!WriteSpellbookFile(*book, QFile::encodeName(bookPath_).toStdString())) std::abort();
        app_ = std::make_unique<VellumarApp>(prompter_);
        app_->Start(1);
    }

    // The book in a window of its own, shown and drawn.
    TfrmSpellBook& OpenBook() {
        if (!app_->Frame().OpenSpellbookFile(bookPath_)) std::abort();
        QApplication::processEvents();
        return *app_->ActiveSpellBook();
    }

private:
    QTemporaryDir folder_;
    StandardErrorPrompter prompter_;
    QString bookPath_;
    std::unique_ptr<VellumarApp> app_;
};

// Made on first use, gone before the application object.
std::unique_ptr<Program> program;

Program& TheProgram() {
    if (!program) program = std::make_unique<Program>();
    return *program;
}

// One keystroke in the caster level field: the level goes back and forth.
void BM_TypeCasterLevel(benchmark::State& state) {
    TfrmSpellBook& window = TheProgram().OpenBook();
    int level = 12;
    for (auto _ : state) {
        level = level == 12 ? 13 : 12;
        window.spnWizardLevel->setValue(level);
        QApplication::processEvents();
    }
    state.counters["spells"] = window.Book().Count();
    state.counters["level"] = window.Book().CasterLevel;
}
BENCHMARK(BM_TypeCasterLevel)->Unit(benchmark::kMicrosecond);

// One new Common spell of level 5 (each time another) offered to the book;
// undone untimed, so that the book keeps its size.
void BM_AddOneSpell(benchmark::State& state) {
    TfrmSpellBook& window = TheProgram().OpenBook();
    int64_t n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tSpell spell(5, "Added " + std::to_string(n++), "Tome", 1, 0, "abj");
        const int before = window.Book().Count();
        state.ResumeTiming();
        window.AddFromMasterList({&spell});
        QApplication::processEvents();
        state.PauseTiming();
        if (window.Book().Count() != before + 1) std::abort();
        window.mnuUndoClick();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["spells"] = window.Book().Count();
}
BENCHMARK(BM_AddOneSpell)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv, [] { program.reset(); });
}
