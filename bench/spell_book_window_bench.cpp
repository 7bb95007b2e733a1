// The typing path of a spellbook window, offscreen, on a book of a few hundred
// spells: typing a caster level (the spin box's value set, so that its change
// handler runs) and adding one spell through the window's add path (what Add
// Spells to Book and a drop do), each with the events they post handled.
// Run it on two builds to see that work moved off these paths costs them nothing.
// Then a big batch of spells the book's rules keep out, let in by "OK to All"
// at the second question: imported from a file, and added from the master list.

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
#include <vector>

using namespace vellumar;

namespace {

constexpr int BookSize = 300;
constexpr int BatchSize = 20000;
constexpr int32_t RareFrequency = -2;

// Answers the first question about an ineligible spell with OK and the second
// with "OK to All"; offers the batch file to Import Spells; any other box
// goes to standard error, unanswered.
class BatchPrompter : public StandardErrorPrompter {
public:
    BatchPrompter() : StandardErrorPrompter(QStringLiteral("Vellumar 95")) {}
    void StartBatch(const QString& file) {
        file_ = file;
        questions_ = 0;
    }
    int Questions() const { return questions_; }

    Answer Message(QWidget* parent, BoxKind kind, BoxButtons buttons, const QString& text,
                   const QString& title, const QString& informative) override {
        if (buttons == BoxButtons::OkCancel || buttons == BoxButtons::OkCancelAll)
            return ++questions_ == 1 ? Answer::Ok : Answer::OkToAll;
        return StandardErrorPrompter::Message(parent, kind, buttons, text, title, informative);
    }
    QString OpenFile(QWidget*, const FileDialogSpec&) override { return file_; }

private:
    QString file_;
    int questions_ = 0;
};

// The program started in a folder of its own, with no settings, no master
// list, and a book of BookSize spells of a caster who may hold them all.
class Program {
public:
    Program() {
        if (!folder_.isValid()) std::abort();
        qputenv("VELLUMAR_HOME", QFile::encodeName(folder_.path() + QLatin1Char('/')));
        QDir::setCurrent(folder_.path());
        std::unique_ptr<TSpellBook> book = GenerateMaster(BookSize);
        book->CasterLevel = 20;
        book->Intelligence = 19;
        bookPath_ = folder_.filePath(QStringLiteral("bench.spb"));
        if (!WriteSpellbookFile(*book, QFile::encodeName(bookPath_).toStdString())) std::abort();
        // A first-level caster's Common book: Rare spells of every level are all kept out.
        batch_ = GenerateMaster(BatchSize);
        for (batch_->First(); tSpell* spell = batch_->CurrentSpell(); batch_->Next())
            spell->Frequency = RareFrequency;
        batchPath_ = folder_.filePath(QStringLiteral("batch.dat"));
        std::unique_ptr<TSpellBook> written = GenerateMaster(BatchSize);
        for (written->First(); tSpell* spell = written->CurrentSpell(); written->Next())
            spell->Frequency = RareFrequency;
        if (!WriteSpellList(*written, QFile::encodeName(batchPath_).toStdString())) std::abort();
        TSpellBook empty(1, 9, FrequencyCommon, "Generalist");
        emptyPath_ = folder_.filePath(QStringLiteral("empty.spb"));
        if (!WriteSpellbookFile(empty, QFile::encodeName(emptyPath_).toStdString())) std::abort();
        app_ = std::make_unique<VellumarApp>(prompter_);
        app_->Start(1);
    }

    // The book in a window of its own, shown and drawn.
    TfrmSpellBook& OpenBook() { return Open(bookPath_); }
    // An empty first-level Common book.
    TfrmSpellBook& OpenEmptyBook() { return Open(emptyPath_); }

    BatchPrompter& Prompts() { return prompter_; }
    const QString& BatchPath() const { return batchPath_; }
    // The batch's spells, in book order.
    std::vector<tSpell*> BatchSpells() const {
        std::vector<tSpell*> spells;
        for (batch_->First(); tSpell* spell = batch_->CurrentSpell(); batch_->Next())
            spells.push_back(spell);
        return spells;
    }

private:
    TfrmSpellBook& Open(const QString& path) {
        if (!app_->Frame().OpenSpellbookFile(path)) std::abort();
        QApplication::processEvents();
        return *app_->ActiveSpellBook();
    }

    QTemporaryDir folder_;
    BatchPrompter prompter_;
    QString bookPath_;
    QString emptyPath_;
    QString batchPath_;
    std::unique_ptr<TSpellBook> batch_;
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

// BatchSize Rare spells of every level offered to a first-level Common book,
// each kept out by the rules: two questions, then "OK to All" lets the rest
// in. Argument 0: Import Spells of a file of them; 1: Add Spells to Book from
// the master list with every level shown. Undone untimed.
void BM_OkToAll(benchmark::State& state) {
    Program& program = TheProgram();
    TfrmSpellBook& window = program.OpenEmptyBook();
    const std::vector<tSpell*> spells = program.BatchSpells();
    const bool import = state.range(0) == 0;
    for (auto _ : state) {
        program.Prompts().StartBatch(program.BatchPath());
        if (import)
            window.mnuImportSpellsClick();
        else
            window.AddFromMasterList(spells);
        QApplication::processEvents();
        state.PauseTiming();
        if (window.Book().Count() != BatchSize || program.Prompts().Questions() != 2) std::abort();
        window.mnuUndoClick();
        QApplication::processEvents();
        if (window.Book().Count() != 0) std::abort();
        state.ResumeTiming();
    }
    state.counters["spells"] = BatchSize;
}
BENCHMARK(BM_OkToAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv, [] { program.reset(); });
}
