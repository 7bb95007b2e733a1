// The spell lists over a 100,000-spell master list, offscreen: showing a
// level, switching levels, one keystroke of the filter with every level
// shown, and selecting and deleting a whole level; beside them the refill of
// a QListWidget row by row as the windows did it before the list model.

#include "generated_master.h"
#include "library/spell_library.h"
#include "model/book_change.h"
#include "model/spell_text.h"
#include "offscreen_bench_main.h"
#include "output/item_text.h"
#include "platform/qt/text_conversion.h"
#include "ui/spell_card_view.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list.h"
#include "ui/spell_list_pane.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

#include <benchmark/benchmark.h>

using namespace vellumar;

namespace {

// A list shown as the windows show theirs, so that layout and painting count.
std::unique_ptr<SpellList> ShownList() {
    auto list = std::make_unique<SpellList>();
    list->resize(500, 400);
    list->show();
    QApplication::processEvents();
    return list;
}

void BM_ShowLevel(benchmark::State& state) {
    const auto list = ShownList();
    for (auto _ : state) {
        list->ShowSpells(&Master(), 1, {});
        QApplication::processEvents();
    }
    state.counters["rows"] = list->count();
}
BENCHMARK(BM_ShowLevel)->Unit(benchmark::kMillisecond);

void BM_SwitchLevel(benchmark::State& state) {
    const auto list = ShownList();
    int level = 1;
    for (auto _ : state) {
        level = level == 1 ? 2 : 1;
        list->ShowSpells(&Master(), level, {});
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchLevel)->Unit(benchmark::kMillisecond);

// The filter field and the list wired as the master list window wires them.
void BM_FilterKeystrokeAllLevels(benchmark::State& state) {
    const auto list = ShownList();
    QWidget window;
    SpellFilterBar bar(&window, true, &window);
    QObject::connect(&bar, &SpellFilterBar::Changed,
                     [&] { list->ShowSpells(&Master(), SpellListModel::AllLevels, bar.Filter()); });
    bar.edFilter->setText(QStringLiteral("spell 3-00"));
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        bar.edFilter->setText(longer ? QStringLiteral("spell 3-001")
                                     : QStringLiteral("spell 3-00"));
        QApplication::processEvents();
    }
    state.counters["rows"] = list->count();
}
BENCHMARK(BM_FilterKeystrokeAllLevels)->Unit(benchmark::kMillisecond);

// What the master list window's Delete Spell keeps for Undo (its library's
// PrepareDeletion) before the selected rows go.
BookChange DeletedForUndo(const SpellList& list, SpellLibrary& library) {
    BookChange change = library.PrepareDeletion(list.SelectedSpells());
    change.Empty(); // settles the copies, as recording does
    return change;
}

void BM_SelectAllAndDeleteLevel(benchmark::State& state) {
    const auto list = ShownList();
    SpellLibrary library;
    int64_t deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        library.SetList(GenerateMaster(MasterSize));
        list->ShowSpells(library.List(), 1, {});
        QApplication::processEvents();
        state.ResumeTiming();
        list->selectAll();
        const BookChange change = DeletedForUndo(*list, library);
        deleted += list->DeleteSelected();
        QApplication::processEvents();
        state.PauseTiming();
        list->ShowNone();
        state.ResumeTiming();
    }
    state.counters["rows"] =
        benchmark::Counter(double(deleted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SelectAllAndDeleteLevel)->Unit(benchmark::kMillisecond)->Iterations(5);

// Undo of that deletion: the spells back in the book and the level shown again.
void BM_UndoDeletedLevel(benchmark::State& state) {
    const auto list = ShownList();
    SpellLibrary library;
    for (auto _ : state) {
        state.PauseTiming();
        library.SetList(GenerateMaster(MasterSize));
        TSpellBook& master = *library.List();
        list->ShowSpells(&master, 1, {});
        list->selectAll();
        const BookChange change = DeletedForUndo(*list, library);
        list->DeleteSelected();
        QApplication::processEvents();
        state.ResumeTiming();
        change.Undo(master);
        list->ShowSpells(&master, 1, {});
        QApplication::processEvents();
        state.PauseTiming();
        list->ShowNone();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoDeletedLevel)->Unit(benchmark::kMillisecond)->Iterations(5);

// A text for every spell of the list, each with a paragraph, a table and a
// higher-levels paragraph, so that the store is as large as the list.
const SpellTexts& MasterTexts() {
    static const SpellTexts texts = [] {
        SpellTexts made;
        const std::string paragraph(600, 'x');
        for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level)
            for (int i = 0; i < Master().CountOfLevel(level); ++i) {
                char name[32];
                std::snprintf(name, sizeof name, "Spell %d-%06d", level,
                              i); // as GenerateMaster names them
                made.Set(level, name,
                         SpellText{.School = "Evocation",
                                   .CastingTime = "1 action",
                                   .Range = "150 feet",
                                   .Components = {"V", "S", "M"},
                                   .Material = "a tiny ball of bat guano and sulfur",
                                   .Duration = "Instantaneous",
                                   .Description = {paragraph, "| d6 | Effect |", "|---|---|",
                                                   "| 1 | Fire |", "| 2 | Ice |", paragraph},
                                   .HigherLevels = {paragraph}});
            }
        return made;
    }();
    return texts;
}

// The master list window's pane: moving the current row down one row shows
// that spell's card, looked up among 100,000 texts.
void BM_ShowCardOfCurrentRow(benchmark::State& state) {
    const SpellTexts& texts = MasterTexts(); // made before the timing
    QWidget window;
    window.resize(440, 480);
    SpellListPane pane(&window, &window, true, [] { return &Master(); });
    pane.SetTexts([&texts] { return &texts; });
    pane.LayOut(6, 94, 420, 480);
    window.show();
    pane.FilterBar()->cbAllLevels->setChecked(true);
    QApplication::processEvents();
    SpellList& list = *pane.List();
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % list.count();
        list.setCurrentIndex(list.model()->index(row, 0));
        QApplication::processEvents();
    }
    state.counters["rows"] = list.count();
    state.counters["texts"] = double(texts.Size());
}
BENCHMARK(BM_ShowCardOfCurrentRow)->Unit(benchmark::kMillisecond);

// Before the model: the list emptied and filled row by row, each row's spell
// looked up by its position in the level.
void BM_ListWidgetRefillBefore(benchmark::State& state) {
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.resize(500, 400);
    list.show();
    QApplication::processEvents();
    TSpellBook& book = Master();
    const int level = 1;
    for (auto _ : state) {
        list.clear();
        const int count = book.CountOfLevel(level);
        for (int k = 0; k < count; ++k)
            if (const tSpell* spell = book.SpellAt(level, k))
                list.addItem(ToQString(SpellItemRow(*spell)));
        list.clearSelection();
        QApplication::processEvents();
    }
    state.counters["rows"] = list.count();
}
BENCHMARK(BM_ListWidgetRefillBefore)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
