// Undo and Redo in the spellbook and master list windows: every command that
// changes a book or the master list is one step back to exactly the book and
// mark it had, and forth again; the saved state is where the mark goes.

#include "model/book_change.h"
#include "model/spell_book.h"
#include "output/item_text.h"
#include "platform/qt/text_conversion.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "support/spell_lists.h"
#include "ui/book_undo.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_filter_bar.h"
#include "ui/spin_edit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QUndoStack>
#include <functional>

using namespace vellumar;
using namespace vellumar::test;

namespace {

bool SameState(const BookState& a, const BookState& b) {
    return a.caster == b.caster && a.spells == b.spells;
}

QAction* Item(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}

using Act = std::function<void(TfrmSpellBook&)>;
struct CommandRow {
    const char* name;
    Act act;
};

} // namespace

class BookUndoTest : public HarnessTest {
    Q_OBJECT

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    // A saved book of caster level 2, where Fireball is beyond the rules.
    TfrmSpellBook& OpenSaved(const QString& name = "saved.spb") {
        const QString path =
            h->home.Write(name, SpellbookV4(2, 12, "Generalist", 'C',
                                            {SpellLine(1, "Alarm"), SpellLine(3, "Fireball")}));
        if (!h->Frame().OpenSpellbookFile(path)) QTest::qFail("not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }
    // The window shows what its book holds: caster controls and the rows of
    // the level shown.
    static void ExpectShowsBook(TfrmSpellBook& window) {
        TSpellBook& book = window.Book();
        QCOMPARE(window.spnWizardLevel->value(), book.CasterLevel);
        QCOMPARE(window.spnWizardIntelligence->value(), book.Intelligence);
        QCOMPARE(FromQString(window.cbWizardSpecialty->currentText()), book.Specialty);
        QCOMPARE(window.cbSpellFrequency->currentIndex(), -book.SpellFrequency);
        QStringList rows;
        for (int k = 0; k < book.CountOfLevel(window.SpellLevel()); ++k)
            rows << ToQString(SpellItemRow(*book.SpellAt(window.SpellLevel(), k)));
        QCOMPARE(Rows(window.lbSpells), rows);
    }

    // The names of the spells of a level (0: any) in `now` that `other` lacks:
    // what an undone or redone step brought back, which the list shows selected.
    static QStringList CameBack(const BookState& now, const BookState& other, int level) {
        QStringList names;
        for (const tSpell& spell : now.spells)
            if ((level == 0 || spell.Level == level) &&
                std::none_of(other.spells.begin(), other.spells.end(),
                             [&](const tSpell& held) { return held == spell; }))
                names << ToQString(spell.Name);
        return names;
    }
    static QStringList SelectedNames(const SpellList& list) {
        QStringList names;
        for (const tSpell* spell : list.SelectedSpells()) names << ToQString(spell->Name);
        return names;
    }

    std::vector<CommandRow> Commands() {
        return {
            {"caster level", [](TfrmSpellBook& w) { w.spnWizardLevel->setValue(3); }},
            {"Intelligence", [](TfrmSpellBook& w) { w.spnWizardIntelligence->setValue(14); }},
            {"specialty text",
             [](TfrmSpellBook& w) { w.cbWizardSpecialty->setEditText("Invoker"); }},
            {"specialty from the list",
             [](TfrmSpellBook& w) { w.cbWizardSpecialty->setCurrentIndex(3); }},
            {"frequency setting", [](TfrmSpellBook& w) { w.cbSpellFrequency->setCurrentIndex(2); }},
            {"Fill Book", [](TfrmSpellBook& w) { w.mnuFillBookClick(); }},
            {"Validate Book", [](TfrmSpellBook& w) { w.mnuValidateBookClick(); }},
            {"Clear Book",
             [this](TfrmSpellBook& w) {
                 h->prompter.Message(Answer::Ok);
                 w.mnuClearBookClick();
             }},
            {"Add Random Spell", [](TfrmSpellBook& w) { w.mnuAddRandomSpellClick(); }},
            {"Add Spells to Book, two at once",
             [this](TfrmSpellBook&) {
                 SelectRows(Master().lbSpells, {1, 2});
                 Master().mnuAddToBookClick();
             }},
            {"drop while another level shows",
             [this](TfrmSpellBook& w) {
                 w.grpSpellLevel->button(2)->click();
                 SelectRows(Master().lbSpells, {1, 2});
                 w.lbSpellsDragDrop(*Master().lbSpells);
             }},
            {"Import Spells",
             [this](TfrmSpellBook& w) {
                 h->prompter.OpenFile(
                     h->home.Write(h->home.Working() + "in.dat",
                                   SpellLine(1, "One") + "\r\n" + SpellLine(1, "Two")));
                 w.mnuImportSpellsClick();
             }},
            {"Delete Spell",
             [](TfrmSpellBook& w) {
                 SelectRows(w.lbSpells, {0});
                 w.mnuDeleteSpellClick();
             }},
            {"Edit Spell Data to another level",
             [this](TfrmSpellBook& w) {
                 SelectRows(w.lbSpells, {0});
                 AnswerSpellEdit(h->prompter, {4, "Alarm", "X", "42", "y", 1});
                 w.mnuEditSpellClick();
             }},
            {"Create New Spell",
             [this](TfrmSpellBook& w) {
                 AnswerSpellEdit(h->prompter, {1, "New", "B", "1", "x", 0});
                 h->prompter.Message(Answer::No);
                 w.mnuCreateNewSpellClick();
             }},
        };
    }

    using MasterAct = std::function<void(TfrmMasterList&)>;
    std::vector<std::pair<const char*, MasterAct>> MasterCommands() {
        return {
            {"Add New Spell",
             [this](TfrmMasterList& m) {
                 AnswerSpellEdit(h->prompter, {2, "Blur", "B", "1", "x", 1});
                 h->prompter.Message(Answer::No);
                 m.mnuAddNewSpellClick();
             }},
            {"Edit Spell Data",
             [this](TfrmMasterList& m) {
                 SelectRows(m.lbSpells, {0, 2});
                 AnswerSpellEdit(h->prompter, {5, "Alarm", "SRD", "1", "Abjuration", 2});
                 h->prompter.Exec({}, true); // Shield confirmed as it was
                 m.mnuEditSpellClick();
             }},
            {"Delete Spell",
             [](TfrmMasterList& m) {
                 SelectRows(m.lbSpells, {1, 2});
                 m.mnuDeleteSpellClick();
             }},
        };
    }

private slots:
    void init() {
        HarnessTest::init();
        h->UseMasterList(FiveSpellMaster());
        h->Start();
    }

    void menuItems() {
        TfrmSpellBook& window = OpenSaved();
        const QStringList edit = ItemTexts(window.EditMenu());
        QCOMPARE(edit.mid(edit.size() - 3), (QStringList{"-", Keyed("&Undo", QKeySequence::Undo),
                                                         Keyed("Red&o", QKeySequence::Redo)}));
        const QStringList master = ItemTexts(Master().mnuEdit);
        QCOMPARE(master.mid(master.size() - 3),
                 (QStringList{"-", Keyed("&Undo", QKeySequence::Undo),
                              Keyed("&Redo", QKeySequence::Redo)}));
        QVERIFY(!Item(window.EditMenu(), "mnuUndo")->isEnabled());
        QVERIFY(!Item(window.EditMenu(), "mnuRedo")->isEnabled());
        QVERIFY(!Item(Master().mnuEdit, "mnuUndo")->isEnabled());
    }

    // Each command: undone, the book, its caster fields, the rows and the
    // modified mark are as saved; redone, as the command left them.
    void spellbookCommands_data() {
        QTest::addColumn<int>("row");
        const auto rows = Commands();
        for (int i = 0; i < int(rows.size()); ++i) QTest::newRow(rows[size_t(i)].name) << i;
    }
    void spellbookCommands() {
        QFETCH(int, row);
        TfrmSpellBook& window = OpenSaved();
        const BookState saved = BookState::Of(window.Book());
        Commands()[size_t(row)].act(window);
        QVERIFY(h->prompter.Idle());
        const BookState changed = BookState::Of(window.Book());
        QVERIFY(!SameState(saved, changed));
        QAction* undo = Item(window.EditMenu(), "mnuUndo");
        QAction* redo = Item(window.EditMenu(), "mnuRedo");
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        for (int round = 0; round < 2; ++round) {
            undo->trigger();
            QVERIFY(SameState(BookState::Of(window.Book()), saved));
            QVERIFY(!window.IsModified());
            QVERIFY(!window.isWindowModified());
            ExpectShowsBook(window);
            QCOMPARE(SelectedNames(*window.lbSpells),
                     CameBack(saved, changed, window.SpellLevel()));
            QVERIFY(!undo->isEnabled()); // one command, one step
            QVERIFY(redo->isEnabled());
            redo->trigger();
            QVERIFY(SameState(BookState::Of(window.Book()), changed));
            QVERIFY(window.IsModified());
            QVERIFY(window.isWindowModified());
            ExpectShowsBook(window);
            QCOMPARE(SelectedNames(*window.lbSpells),
                     CameBack(changed, saved, window.SpellLevel()));
            QCOMPARE(window.lbSpells->SelectedSpells().empty(),
                     CameBack(changed, saved, 0).isEmpty());
        }
    }

    void typingIntoAFieldIsOneStepUntilTheFocusLeaves() {
        TfrmSpellBook& window = OpenSaved();
        QVERIFY(GiveFocus(window.spnWizardLevel));
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "12");
        QCOMPARE(window.Book().CasterLevel, 12);
        QCOMPARE(window.History().Stack().count(), 1);
        QVERIFY(GiveFocus(window.lbSpells)); // the focus leaves
        QVERIFY(GiveFocus(window.spnWizardLevel));
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "7");
        QCOMPARE(window.History().Stack().count(), 2);
        window.mnuUndoClick();
        QCOMPARE(window.Book().CasterLevel, 12);
        window.mnuUndoClick();
        QCOMPARE(window.Book().CasterLevel, 2);
        QVERIFY(!window.IsModified());
        // Typed back to where it started: no step is left.
        window.mnuRedoClick();
        window.mnuRedoClick();
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "9");
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "7");
        QCOMPARE(window.History().Stack().count(), 2);
    }

    // In a field the keys undo the typing there; the book's earlier steps stay.
    void keysInAFieldUndoItsTyping() {
        TfrmSpellBook& window = OpenSaved();
        window.mnuValidateBookClick();
        QVERIFY(GiveFocus(window.spnWizardLevel));
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "7");
        QCOMPARE(window.Book().CasterLevel, 7);
        QTest::keyClick(h->Frame().windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(window.Book().CasterLevel, 2);
        QCOMPARE(window.Book().CountOfLevel(3), 0); // Validate Book is not undone
        QVERIFY(window.History().Stack().canUndo());
    }

    void saveThenUndoMarksModifiedAndRedoClearsIt() {
        TfrmSpellBook& window = OpenSaved();
        window.mnuValidateBookClick();
        window.mnuSaveClick();
        QVERIFY(!window.IsModified());
        window.mnuUndoClick();
        QVERIFY(window.IsModified());
        QVERIFY(window.isWindowModified());
        window.mnuRedoClick();
        QVERIFY(!window.IsModified());
        // A close after undoing past the save asks.
        window.mnuUndoClick();
        h->prompter.Message(Answer::Cancel);
        window.mnuCloseClick();
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));
    }

    // A new book or a scroll was never saved: no undo makes it unmodified,
    // and its filling is where undoing stops.
    void anUnsavedBookStaysModified() {
        h->prompter.Exec({}, true);
        h->Frame().NewChild();
        TfrmSpellBook& book = *h->ActiveSpellBook();
        QVERIFY(book.IsModified());
        QVERIFY(!Item(book.EditMenu(), "mnuUndo")->isEnabled());
        book.spnWizardIntelligence->setValue(17);
        book.mnuUndoClick();
        QCOMPARE(book.Book().Intelligence, 9);
        QVERIFY(book.IsModified());
        QVERIFY(!Item(book.EditMenu(), "mnuUndo")->isEnabled());
    }

    // With two books open the keys act on the active one only; each window
    // keeps its own steps.
    void keysActOnTheActiveWindow() {
        TfrmSpellBook& first = OpenSaved("first.spb");
        TfrmSpellBook& second = OpenSaved("second.spb");
        first.mnuValidateBookClick();
        second.mnuValidateBookClick();
        h->Frame().show();
        h->Frame().activateWindow();
        QTRY_VERIFY(h->Frame().isActiveWindow());
        h->Frame().mdiArea()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(second.parentWidget()));
        QTRY_COMPARE(h->ActiveSpellBook(), &second);
        second.lbSpells->setFocus();
        QTest::keyClick(h->Frame().windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(!second.IsModified());
        QVERIFY(first.IsModified());
        QTest::keyClick(h->Frame().windowHandle(), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(second.IsModified());
        QVERIFY(first.History().Stack().canUndo());
    }

    void masterListCommands_data() {
        QTest::addColumn<int>("row");
        const auto rows = MasterCommands();
        QTest::addColumn<int>("level");
        const int levels[] = {2, 1, 1};
        for (int i = 0; i < int(rows.size()); ++i)
            QTest::newRow(rows[size_t(i)].first) << i << levels[i];
    }
    void masterListCommands() {
        QFETCH(int, row);
        QFETCH(int, level);
        TfrmMasterList& master = Master();
        TSpellBook& list = *h->Context().MasterList();
        const BookState saved = BookState::Of(list);
        MasterCommands()[size_t(row)].second(master);
        const BookState changed = BookState::Of(list);
        QVERIFY(!SameState(saved, changed));
        QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List*"));
        for (int round = 0; round < 2; ++round) {
            master.mnuUndoClick();
            QVERIFY(SameState(BookState::Of(list), saved));
            QCOMPARE(master.SpellLevel(), level); // where the spells changed
            QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List"));
            QVERIFY(!list.Modified);
            QVERIFY(!master.mnuSaveMasterFile->isEnabled());
            QCOMPARE(master.lbSpells->count(), list.CountOfLevel(master.SpellLevel()));
            QCOMPARE(SelectedNames(*master.lbSpells),
                     CameBack(saved, changed, master.SpellLevel()));
            master.pnlFilter->edFilter->setText("zzz"); // hides every spell
            master.mnuRedoClick();
            QVERIFY(SameState(BookState::Of(list), changed));
            QCOMPARE(SelectedNames(*master.lbSpells),
                     CameBack(changed, saved, master.SpellLevel()));
            QCOMPARE(master.lbSpells->SelectedSpells().empty(),
                     CameBack(changed, saved, 0).isEmpty());
            master.pnlFilter->edFilter->clear();
            QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List*"));
            QVERIFY(master.mnuSaveMasterFile->isEnabled());
        }
        // Saved, the list is where its mark goes: undoing past it marks it again.
        QVERIFY(master.mnuSaveMasterFileClick());
        QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List"));
        master.mnuUndoClick();
        QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List*"));
        QVERIFY(list.Modified);
        // No at the close question reads the file again: nothing is left to undo.
        h->prompter.Message(Answer::No);
        QVERIFY(master.FormCloseQuery());
        QCOMPARE(master.windowTitle(), QStringLiteral("Master Spell List"));
        QVERIFY(!master.History().Stack().canUndo());
        QVERIFY(!master.History().Stack().canRedo());
    }
};

QTEST_MAIN(BookUndoTest)
#include "book_undo_test.moc"
