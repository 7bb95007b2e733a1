// The spell lists of both windows as the user works them: where the selection
// goes after a delete or an add, Enter on a master list row, and the filter
// field with its terms, its keys and the master list's "All levels" switch.

#include "model/spell_book.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "support/spell_lists.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_card_view.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                              "1,\"Burning Hands\",\"SRD\",2,\"C\",\"Evocation\"\r\n"
                              "1,\"Fire Shield\",\"SRD\",3,\"U\",\"Evocation\"\r\n"
                              "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\"\r\n"
                              "2,\"Web\",\"SRD\",3,\"C\",\"Conjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n";

QByteArray Line(int level, const char* name) {
    return QByteArray::number(level) + ",\"" + name + "\",\"B\",1,\"C\",\"cat\"";
}

QStringList Names(const QStringList& rows) {
    QStringList names;
    for (const QString& row : rows) names << row.section(QStringLiteral("  ("), 0, 0);
    return names;
}

} // namespace

class SpellListTest : public HarnessTest {
    Q_OBJECT

    void StartWithList() {
        h->UseMasterList(MasterFile);
        h->Start();
    }
    // A saved book of caster level 9 (every spell of the master list is
    // eligible), level 1 shown.
    TfrmSpellBook& Open(const QList<QByteArray>& lines) {
        const QString path =
            h->home.Write("book.spb", SpellbookV4(9, 12, "Generalist", 'C', lines));
        if (!h->Frame().OpenSpellbookFile(path))
            QTest::qFail("book not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }
    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    static QString Current(const SpellList* list) {
        return list->currentIndex().isValid()
                   ? Names({list->currentIndex().data().toString()}).value(0)
                   : QString();
    }

private slots:
    void deleteLeavesTheRowAfter_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("current");
        QTest::newRow("middle rows") << QList<int>{1, 2} << QStringList{"A", "D", "E"} << "D";
        QTest::newRow("rows apart") << QList<int>{0, 2} << QStringList{"B", "D", "E"} << "D";
        QTest::newRow("at the end") << QList<int>{3, 4} << QStringList{"A", "B", "C"} << "C";
        QTest::newRow("first row") << QList<int>{0} << QStringList{"B", "C", "D", "E"} << "B";
        QTest::newRow("every row") << QList<int>{0, 1, 2, 3, 4} << QStringList{} << QString();
    }
    void deleteLeavesTheRowAfter() {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, left);
        QFETCH(QString, current);
        StartWithList();
        TfrmSpellBook& window = Open(
            {Line(1, "A"), Line(1, "B"), Line(1, "C"), Line(1, "D"), Line(1, "E"), Line(2, "F")});
        window.lbSpells->clearSelection();
        for (int row : selected)
            window.lbSpells->selectionModel()->select(window.lbSpells->model()->index(row, 0),
                                                      QItemSelectionModel::Select);
        window.mnuDeleteSpellClick();
        QCOMPARE(Names(Rows(window.lbSpells)), left);
        QCOMPARE(Current(window.lbSpells), current);
        QCOMPARE(window.Book().CountOfLevel(1), int(left.size()));
        QCOMPARE(window.Book().CountOfLevel(2), 1);
    }

    // The master list's Delete goes the same way.
    void masterDeleteLeavesTheRowAfter() {
        StartWithList();
        SelectRows(Master().lbSpells, {1, 2});
        Master().mnuDeleteSpellClick();
        QCOMPARE(Names(Rows(Master().lbSpells)), (QStringList{"Alarm", "Shield"}));
        QCOMPARE(Current(Master().lbSpells), QStringLiteral("Shield"));
    }

    // A new spell of another level brings that level up, selected.
    void createdSpellOfAnotherLevelIsShownSelected() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(4, "Alpha"), Line(4, "Zeta")});
        AnswerSpellEdit(h->prompter, {4, "Moon", "PHB", "5", "alt", 0});
        h->prompter.Message(Answer::No);
        window.mnuCreateNewSpellClick();
        QCOMPARE(window.SpellLevel(), 4);
        QVERIFY(window.grpSpellLevel->button(4)->isChecked());
        QCOMPARE(Names(Rows(window.lbSpells)), (QStringList{"Alpha", "Moon", "Zeta"}));
        QCOMPARE(Current(window.lbSpells), QStringLiteral("Moon"));
        QCOMPARE(window.lbSpells->SelectedRows(), std::vector<int>{1});
    }

    void masterNewSpellOfAnotherLevelIsShownSelected() {
        StartWithList();
        AnswerSpellEdit(h->prompter, {2, "Blur", "PHB", "5", "ill", 0});
        h->prompter.Message(Answer::No);
        Master().mnuAddNewSpellClick();
        QCOMPARE(Master().SpellLevel(), 2);
        QCOMPARE(Names(Rows(Master().lbSpells)), (QStringList{"Blur", "Web"}));
        QCOMPARE(Current(Master().lbSpells), QStringLiteral("Blur"));
        QCOMPARE(Master().lbSpells->SelectedRows(), std::vector<int>{0});
    }

    // A filter that would hide a spell just added is emptied, so that the
    // spell shows selected; one that lets it through stays.
    void filterHidingAnAddedSpellGoes_data() {
        QTest::addColumn<bool>("master");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("filterAfter");
        QTest::addColumn<QStringList>("rows");
        for (const bool master : {false, true}) {
            const char* window = master ? "master list" : "spellbook";
            const QStringList all =
                master ? QStringList{"Moon", "Web"} : QStringList{"Alpha", "Moon", "Zeta"};
            QTest::addRow("%s: hidden", window) << master << "alpha web"
                                                << "" << all;
            QTest::addRow("%s: shown", window) << master << "moo"
                                               << "moo" << QStringList{"Moon"};
        }
    }
    void filterHidingAnAddedSpellGoes() {
        QFETCH(bool, master);
        QFETCH(QString, filter);
        QFETCH(QString, filterAfter);
        QFETCH(QStringList, rows);
        StartWithList();
        TfrmSpellBook& window = Open({Line(4, "Alpha"), Line(4, "Zeta")});
        SpellFilterBar* bar = master ? Master().pnlFilter : window.pnlFilter;
        bar->edFilter->setText(filter);
        AnswerSpellEdit(h->prompter, {master ? 2 : 4, "Moon", "PHB", "5", "alt", 0});
        h->prompter.Message(Answer::No);
        if (master)
            Master().mnuAddNewSpellClick();
        else
            window.mnuCreateNewSpellClick();
        const SpellList* list = master ? Master().lbSpells : window.lbSpells;
        QCOMPARE(bar->edFilter->text(), filterAfter);
        QCOMPARE(Names(Rows(list)), rows);
        QCOMPARE(Current(list), QStringLiteral("Moon"));
    }

    // Add Spells to Book and Enter on a master row: the book shows the level
    // of the spells sent, with the new rows selected.
    void sentSpellsAreSelectedInTheBook_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("Add Spells to Book") << false;
        QTest::newRow("Enter on the rows") << true;
    }
    void sentSpellsAreSelectedInTheBook() {
        QFETCH(bool, byEnter);
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "Aaa"), Line(3, "Zzz")});
        Master().grpSpellLevel->button(3)->click();
        SelectRows(Master().lbSpells, {0});
        if (byEnter)
            QTest::keyClick(Master().lbSpells, Qt::Key_Return);
        else
            Master().mnuAddToBookClick();
        QCOMPARE(window.SpellLevel(), 3);
        QCOMPARE(Names(Rows(window.lbSpells)), (QStringList{"Fireball", "Zzz"}));
        QCOMPARE(window.lbSpells->SelectedRows(), std::vector<int>{0});
        QVERIFY(window.Book().Modified);
    }

    // Editing several spells: while the next dialog shows, the list already
    // shows the spell edited before it, never the one it replaced.
    void editRedrawsBeforeTheNextDialog() {
        StartWithList();
        TfrmMasterList& master = Master();
        SelectRows(master.lbSpells, {0, 3}); // Alarm, Shield
        h->prompter.Exec<TfrmSpellEdit>([](auto& edit) { edit.ebName->setText("Zalarm"); }, true);
        h->prompter.Exec<TfrmSpellEdit>(
            [&master](auto& edit) {
                QCOMPARE(Names(Rows(master.lbSpells)),
                         (QStringList{"Burning Hands", "Fire Shield", "Shield", "Zalarm"}));
                edit.ebName->setText("Aegis");
            },
            true);
        master.mnuEditSpellClick();
        QCOMPARE(Names(Rows(master.lbSpells)),
                 (QStringList{"Aegis", "Burning Hands", "Fire Shield", "Zalarm"}));
        QVERIFY(master.mnuSaveMasterFile->isEnabled());
    }

    // An edit keeps its row selected, current and carded; a new level comes up.
    void editKeepsTheRowSelected_data() {
        QTest::addColumn<bool>("master");
        QTest::addColumn<int>("level");
        QTest::newRow("spellbook") << false << 1;
        QTest::newRow("master list, to level 2") << true << 2;
    }
    void editKeepsTheRowSelected() {
        QFETCH(bool, master);
        QFETCH(int, level);
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "Alarm"), Line(1, "Jump"), Line(1, "Light")});
        SpellList* list = master ? Master().lbSpells : window.lbSpells;
        SelectRows(list, {1});
        AnswerSpellEdit(h->prompter, {level, "Zap", "B", "1", "cat", 0});
        master ? Master().mnuEditSpellClick() : window.mnuEditSpellClick();
        QCOMPARE(master ? Master().SpellLevel() : window.SpellLevel(), level);
        QCOMPARE(list->SelectedSpells().size(), size_t(1));
        QVERIFY((master ? Master().memSpellText : window.memSpellText)
                    ->toPlainText()
                    .startsWith(QStringLiteral("Zap")));
    }

    // Tab into a list selects the row its card shows.
    void tabSelectsTheCurrentRow() {
        StartWithList();
        SpellList* list = Master().lbSpells;
        QVERIFY(GiveFocus(list));
        QTest::keyClick(list, Qt::Key_Backtab); // out, and back in by Tab
        QTest::keyClick(Master().focusWidget(), Qt::Key_Tab);
        QCOMPARE(list->SelectedRows(), std::vector<int>{0});
    }

    // Typing narrows the rows; Esc empties the field and the rows come back,
    // and the window stays open.
    void filterNarrowsAndEscClears() {
        StartWithList();
        TfrmMasterList& master = Master();
        master.show();
        QLineEdit* field = master.pnlFilter->edFilter;
        QTest::keyClicks(field, "fire");
        QCOMPARE(Names(Rows(master.lbSpells)), (QStringList{"Fire Shield"}));
        field->setText("shield freq:c");
        QCOMPARE(Names(Rows(master.lbSpells)), (QStringList{"Shield"}));
        field->setText("school:abj");
        QCOMPARE(Names(Rows(master.lbSpells)), (QStringList{"Alarm", "Shield"}));
        // The level buttons stay as they were.
        QCOMPARE(master.SpellLevel(), 1);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->text(), QString());
        QCOMPARE(master.lbSpells->count(), 4);
        QVERIFY(master.isVisible());
    }

    void ctrlFFocusesTheFilter_data() {
        QTest::addColumn<bool>("inBook");
        QTest::newRow("master list") << false;
        QTest::newRow("spellbook window") << true;
    }
    void ctrlFFocusesTheFilter() {
        QFETCH(bool, inBook);
        StartWithList();
        QWidget* window = &Master();
        SpellList* list = Master().lbSpells;
        QLineEdit* field = Master().pnlFilter->edFilter;
        if (inBook) {
            TfrmSpellBook& book = Open({Line(1, "A")});
            window = &h->Frame();
            list = book.lbSpells;
            field = book.pnlFilter->edFilter;
        }
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field->hasFocus());
    }

    void allLevelsShowsEveryLevelWithTheLevel() {
        StartWithList();
        TfrmMasterList& master = Master();
        master.pnlFilter->edFilter->setText("fire");
        master.pnlFilter->cbAllLevels->setChecked(true);
        QCOMPARE(Rows(master.lbSpells), (QStringList{"1: Fire Shield  (Evocation) [SRD 3] - U",
                                                     "3: Fireball  (Evocation) [SRD 7] - C"}));
        // Sent together, each spell goes in; the book shows the last one's level.
        TfrmSpellBook& window = Open({});
        master.lbSpells->selectAll();
        h->prompter.Message(Answer::Ok); // Fire Shield is Uncommon; the book takes Common
        master.mnuAddToBookClick();
        QCOMPARE(window.Book().Count(), 2);
        QCOMPARE(window.SpellLevel(), 3);
        master.pnlFilter->cbAllLevels->setChecked(false);
        QCOMPARE(Names(Rows(master.lbSpells)), (QStringList{"Fire Shield"}));
    }

    // Commands act on the rows shown: selecting all of a filtered list and
    // deleting, dragging or editing touches the matching spells only.
    void commandsActOnTheRowsShown() {
        StartWithList();
        TfrmSpellBook& window =
            Open({Line(1, "Fire A"), Line(1, "Ice B"), Line(1, "Fire C"), Line(1, "Mud D")});
        window.pnlFilter->edFilter->setText("fire");
        window.lbSpells->selectAll();
        window.mnuDeleteSpellClick();
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"Ice B", "Mud D"}));
        QCOMPARE(window.lbSpells->count(), 0);
        window.pnlFilter->edFilter->clear();
        QCOMPARE(window.lbSpells->count(), 2);

        Master().pnlFilter->edFilter->setText("shield");
        SelectRows(Master().lbSpells, {1}); // Shield, the second row shown
        window.lbSpellsDragDrop(*Master().lbSpells);
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"Ice B", "Mud D", "Shield"}));
        QCOMPARE(window.lbSpells->SelectedRows(), std::vector<int>{2});

        h->prompter.Exec<TfrmSpellEdit>(
            [](auto& edit) { QCOMPARE(edit.ebName->text(), QStringLiteral("Fire Shield")); },
            false);
        SelectRows(Master().lbSpells, {0});
        Master().mnuEditSpellClick();
    }
};

QTEST_MAIN(SpellListTest)
#include "spell_list_test.moc"
