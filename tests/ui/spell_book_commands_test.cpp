// The commands of the spellbook window: book and spell commands, dropping
// dragged rows, import and export, and the output commands.

#include "deadline.h"
#include "files/line_reader.h"
#include "files/spell_file.h"
#include "model/spell_book.h"
#include "output/qt/print_format_dialog.h"
#include "output/qt/print_preview_window.h"
#include "pdf_pages.h"
#include "platform/qt/help_viewer.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/scroll_parm_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_commands.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_filter_bar.h"
#include "ui/spell_list.h"
#include "ui/spin_edit.h"
#include "ui/working_box.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = FiveSpellMaster();

QByteArray Line(int level, const char* name, char frequency = 'C') {
    return SpellLine(level, name, frequency);
}

} // namespace

Q_DECLARE_METATYPE(vellumar::Answer)

class SpellBookCommandsTest : public HarnessTest {
    Q_OBJECT

    void StartWithList() {
        h->UseMasterList(MasterFile);
        h->Start();
    }
    // A saved book of caster level 5, Common spells only.
    TfrmSpellBook& Open(const QList<QByteArray>& lines, const QString& name = "book.spb") {
        const QString path = h->home.Write(name, SpellbookV4(5, 12, "Generalist", 'C', lines));
        if (!h->Frame().OpenSpellbookFile(path))
            QTest::qFail("book not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }
    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }

    // Every control and command that changes the book marks it, shows the "*"
    // and makes closing ask; the others leave the book as saved. The book is
    // opened at caster level 2, where only first-level spells are eligible.
    struct MarkRow {
        const char* name;
        bool marks;
        std::function<void(TfrmSpellBook&)> act;
    };
    std::vector<MarkRow> MarkRows() {
        return {
            {"caster level", true, [](TfrmSpellBook& w) { w.spnWizardLevel->setValue(3); }},
            {"Intelligence", true, [](TfrmSpellBook& w) { w.spnWizardIntelligence->setValue(14); }},
            {"specialty text", true,
             [](TfrmSpellBook& w) { w.cbWizardSpecialty->setEditText("Invoker"); }},
            {"specialty from the list", true,
             [](TfrmSpellBook& w) { w.cbWizardSpecialty->setCurrentIndex(3); }},
            {"frequency setting", true,
             [](TfrmSpellBook& w) { w.cbSpellFrequency->setCurrentIndex(2); }},
            {"Fill Book", true, [](TfrmSpellBook& w) { w.mnuFillBookClick(); }},
            {"Validate Book", true, [](TfrmSpellBook& w) { w.mnuValidateBookClick(); }},
            {"Clear Book", true,
             [this](TfrmSpellBook& w) {
                 h->prompter.Message(Answer::Ok);
                 w.mnuClearBookClick();
             }},
            {"Add Random Spell", true, [](TfrmSpellBook& w) { w.mnuAddRandomSpellClick(); }},
            {"drop let in", true,
             [this](TfrmSpellBook& w) {
                 SelectRows(Master().lbSpells, {2}); // Shield
                 w.lbSpellsDragDrop(*Master().lbSpells);
             }},
            {"drop refused", true,
             [this](TfrmSpellBook& w) {
                 Master().grpSpellLevel->button(3)->click();
                 SelectRows(Master().lbSpells, {0}); // Fireball, beyond caster level 2
                 h->prompter.Message(Answer::Cancel);
                 w.lbSpellsDragDrop(*Master().lbSpells);
             }},
            {"Import Spells", true,
             [this](TfrmSpellBook& w) {
                 h->prompter.OpenFile(
                     h->home.Write(h->home.Working() + "in.dat", Line(1, "One") + "\r\n \r\n"));
                 w.mnuImportSpellsClick();
             }},
            {"Delete Spell", true,
             [](TfrmSpellBook& w) {
                 SelectRows(w.lbSpells, {0});
                 w.mnuDeleteSpellClick();
             }},
            {"Edit Spell Data confirmed unchanged", false,
             [this](TfrmSpellBook& w) {
                 SelectRows(w.lbSpells, {0});
                 h->prompter.Exec({}, true);
                 w.mnuEditSpellClick();
             }},
            {"Create New Spell", true,
             [this](TfrmSpellBook& w) {
                 AnswerSpellEdit(h->prompter, {1, "New", "B", "1", "x", 0});
                 h->prompter.Message(Answer::No);
                 w.mnuCreateNewSpellClick();
             }},
            {"spell level", false, [](TfrmSpellBook& w) { w.grpSpellLevel->button(2)->click(); }},
            {"Edit Spell Data cancelled", false,
             [this](TfrmSpellBook& w) {
                 SelectRows(w.lbSpells, {0});
                 h->prompter.Exec({}, false);
                 w.mnuEditSpellClick();
             }},
            {"Export Spell", false,
             [this](TfrmSpellBook& w) {
                 h->prompter.SaveFile(h->home.Working() + "out.dat");
                 w.mnuExportSpellClick();
             }},
            {"Copy to Clipboard", false,
             [this](TfrmSpellBook& w) {
                 h->prompter.Exec({}, true);
                 w.mnuCopytoClipboardClick();
             }},
            {"Print Preview", false,
             [this](TfrmSpellBook& w) {
                 h->prompter.Exec({}, false);
                 w.mnuPrintPreviewClick();
             }},
            {"Print", false,
             [this](TfrmSpellBook& w) {
                 h->prompter.PrintDialog([](QPrinter&) { return false; });
                 w.mnuPrintClick();
             }},
            {"Export as PDF", false,
             [this](TfrmSpellBook& w) {
                 h->prompter.SaveFile(h->home.Working() + "out.pdf");
                 w.mnuExportPdfClick();
             }},
        };
    }
private slots:
    void cleanup() {
        HarnessTest::cleanup();
        SetReadFailureAfterBytesForTesting(-1);
    }

    void modifiedMark_data() {
        QTest::addColumn<int>("row");
        const auto rows = MarkRows();
        for (int i = 0; i < int(rows.size()); ++i) QTest::newRow(rows[size_t(i)].name) << i;
    }
    void modifiedMark() {
        QFETCH(int, row);
        StartWithList();
        const QString path =
            h->home.Write("saved.spb", SpellbookV4(2, 12, "Generalist", 'C', {Line(1, "Alarm")}));
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        TfrmSpellBook& window = *h->ActiveSpellBook();
        QVERIFY(!window.Book().Modified);
        const std::vector<MarkRow> rows = MarkRows();
        const MarkRow& mark = rows[size_t(row)];
        EndsWithin(std::string(mark.name), [&] { mark.act(window); });
        QVERIFY(h->prompter.Idle());
        QCOMPARE(window.Book().Modified, mark.marks);
        QCOMPARE(window.isWindowModified(), mark.marks);
        QCOMPARE(window.parentWidget()->isWindowModified(), mark.marks); // the "*" of its frame

        h->prompter.ClearRecords();
        if (!mark.marks) {
            window.mnuCloseClick();
            QTRY_VERIFY(h->SpellBookWindows().empty());
            QVERIFY(h->prompter.Records().empty());
            return;
        }
        h->prompter.Message(Answer::Cancel);
        window.mnuCloseClick();
        QCOMPARE(h->prompter.Records().size(), size_t(1));
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::YesNoCancel);
        QCOMPARE(h->prompter.Last().text,
                 "Spellbook:\r\n" + path + "\r\nhas not been saved. Do you wish to save it now?");
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));
        QVERIFY(window.isWindowModified());
    }

    void deleteThreeOfFiveRows() {
        StartWithList();
        TfrmSpellBook& window =
            Open({Line(1, "A"), Line(1, "B"), Line(1, "C"), Line(1, "D"), Line(1, "E")});
        SelectRows(window.lbSpells, {0, 2, 3});
        window.mnuDeleteSpellClick();
        QVERIFY(h->prompter.Records().empty());
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"B", "E"}));
        QCOMPARE(window.Book().LevelCount[1], 2);
        QCOMPARE(Rows(window.lbSpells), (QStringList{"B  (cat) [B 1] - C", "E  (cat) [B 1] - C"}));
        QVERIFY(window.Book().Modified);
        QVERIFY(window.isWindowModified());
    }

    void addRandomSpell() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "Alarm"), Line(1, "Shield")});
        SelectRows(window.lbSpells, {1});
        // Burning Hands is the one spell missing; picks repeat until it comes up.
        EndsWithin("Add Random Spell", [&] { window.mnuAddRandomSpellClick(); });
        QCOMPARE(Names(window.Book()),
                 (std::vector<std::string>{"Alarm", "Burning Hands", "Shield"}));
        QCOMPARE(RowText(window.lbSpells, 1),
                 QStringLiteral("Burning Hands  (Evocation) [SRD 2] - C"));
        QCOMPARE(window.lbSpells->count(), 3);
        // Not redrawn otherwise: the selection stays on Shield's row.
        QVERIFY(IsRowSelected(window.lbSpells, 2));
        QVERIFY(window.Book().Modified);
    }

    void addRandomSpellAtAFullLevelDoesNothing() {
        StartWithList();
        // As many first-level spells as the master list, though not the same ones.
        TfrmSpellBook& window = Open({Line(1, "X"), Line(1, "Y"), Line(1, "Z")});
        window.mnuAddRandomSpellClick();
        QVERIFY(h->prompter.Records().empty());
        QCOMPARE(window.Book().Count(), 3);
        QCOMPARE(window.lbSpells->count(), 3);
        QVERIFY(!window.Book().Modified);
    }

    void addRandomSpellWithoutAMasterList() {
        h->Start();
        TfrmSpellBook& window = Open({});
        h->prompter.Message(Answer::Ok);
        window.mnuAddRandomSpellClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::Ok);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("No Master list available"));
        QCOMPARE(window.Book().Count(), 0);
    }

    void dropFromTheMasterListWhileAnotherLevelShows() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        window.grpSpellLevel->button(2)->click();
        SelectRows(Master().lbSpells, {0, 2});
        window.lbSpellsDragDrop(*Master().lbSpells);
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"Alarm", "Shield"}));
        QCOMPARE(window.SpellLevel(), 1);
        QCOMPARE(Rows(window.lbSpells), (QStringList{"Alarm  (Abjuration) [SRD 1] - C",
                                                     "Shield  (Abjuration) [SRD 9] - C"}));
        QVERIFY(window.Book().Modified);
        QVERIFY(!h->Context().MasterList()->Modified);
    }

    void invalidSpellTextKeepsTheNameAsGiven() {
        QCOMPARE(InvalidSpellText(""),
                 std::string("Added spell...\r\n--->    <---\r\nis invalid for this spellbook"));
        QCOMPARE(InvalidSpellText("\xC9"
                                  "clair"),
                 std::string("Added spell...\r\n--->  \xC9"
                             "clair  <---\r\nis invalid for this spellbook"));
    }

    void dropOfAnIneligibleSpellAsksAndShowsItsLevel() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        window.spnWizardLevel->setValue(2); // no third-level spells at caster level 2
        window.SetModified(false);
        Master().grpSpellLevel->button(3)->click();
        SelectRows(Master().lbSpells, {0});
        h->prompter.Message(Answer::Cancel);
        window.lbSpellsDragDrop(*Master().lbSpells);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Added spell...\r\n--->  Fireball  "
                                                         "<---\r\nis invalid for this spellbook"));
        QCOMPARE(window.Book().Count(), 0);
        QCOMPARE(window.SpellLevel(), 3);
        QVERIFY(window.Book().Modified); // every dropped spell marks the book
    }

    void dropWhoseLastSpellIsRefusedShowsWhatWentIn() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        window.spnWizardLevel->setValue(2); // no third-level spells at caster level 2
        Master().pnlFilter->cbAllLevels->setChecked(true);
        SelectRows(Master().lbSpells, {0, 4}); // Alarm (1) and Fireball (3)
        h->prompter.Message(Answer::Cancel);
        window.lbSpellsDragDrop(*Master().lbSpells);
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"Alarm"}));
        QCOMPARE(window.SpellLevel(), 1);
        QCOMPARE(Rows(window.lbSpells), (QStringList{"Alarm  (Abjuration) [SRD 1] - C"}));
        QVERIFY(IsRowSelected(window.lbSpells, 0));
    }

    void dropBetweenWindowsAndOntoItself() {
        StartWithList();
        TfrmSpellBook& source = Open({Line(1, "A"), Line(2, "B"), Line(2, "C")}, "source.spb");
        TfrmSpellBook& target = Open({}, "target.spb");
        source.grpSpellLevel->button(2)->click();
        SelectRows(source.lbSpells, {1});
        target.lbSpellsDragDrop(*source.lbSpells);
        QCOMPARE(Names(target.Book()), (std::vector<std::string>{"C"}));
        QCOMPARE(target.SpellLevel(), 2);
        QCOMPARE(source.Book().Count(), 3);

        // Rows dropped on their own list change nothing.
        SelectRows(source.lbSpells, {0, 1});
        source.lbSpellsDragDrop(*source.lbSpells);
        QCOMPARE(source.Book().Count(), 3);
        QVERIFY(!source.Book().Modified);
        QCOMPARE(SelectedCount(source.lbSpells), 2);
    }

    // Dragged rows carry their text for other programs, besides the private
    // type our own lists take.
    void draggedRowsCarryTheirText() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(2, "A"), Line(2, "B"), Line(2, "C")});
        window.grpSpellLevel->button(2)->click();
        SelectRows(window.lbSpells, {0, 2});
        const std::unique_ptr<QMimeData> data(window.lbSpells->DragData());
        QCOMPARE(data->text(), RowText(window.lbSpells, 0) + '\n' + RowText(window.lbSpells, 2));
        QVERIFY(data->text().contains(QStringLiteral("C")));
        QVERIFY(SpellList::Accepts(data.get(), window.lbSpells));
        QVERIFY(!SpellList::Accepts(data.get(), nullptr)); // from another program
        // Our own text fields do not take them.
        QLineEdit* field = window.cbWizardSpecialty->lineEdit();
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QVERIFY(!enter.isAccepted());
    }

    void validateRemovesTheIneligibleSpells() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(1, "R", 'R')});
        window.mnuValidateBookClick();
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"A"}));
        QCOMPARE(window.lbSpells->count(), 1);
    }

    void clearBook() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(2, "B")});
        h->prompter.Message(Answer::Cancel);
        window.mnuClearBookClick();
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("This will remove all spells from the Spellbook!\r\nAre you sure "
                                "you want to continue?"));
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::OkCancel);
        QCOMPARE(window.Book().Count(), 2);
        QVERIFY(!window.Book().Modified);

        window.cbSpellFrequency->setCurrentIndex(3);
        const QString caption = window.Caption();
        h->prompter.Message(Answer::Ok);
        window.mnuClearBookClick();
        QCOMPARE(window.Book().Count(), 0);
        QCOMPARE(window.Book().CasterLevel, 5);
        QCOMPARE(window.Book().Intelligence, 12);
        QCOMPARE(window.Book().Specialty, std::string("Generalist"));
        QCOMPARE(window.Book().SpellFrequency, -3);
        QCOMPARE(window.lbSpells->count(), 0);
        QVERIFY(window.Book().Modified);
        QCOMPARE(window.Caption(), caption);
    }

    void addSelectedSpellShowsTheMasterListAtTheSameLevel() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        window.grpSpellLevel->button(2)->click();
        window.mnuAddSelectedSpellClick();
        QVERIFY(Master().isVisible());
        QCOMPARE(Master().SpellLevel(), 2);
        QCOMPARE(Rows(Master().lbSpells), (QStringList{"Web  (Conjuration) [SRD 3] - C"}));
        // The keys go to its list, whose row the card shows is selected.
        QCOMPARE(Master().focusWidget(), Master().lbSpells);
        QCOMPARE(Master().lbSpells->SelectedRows(), std::vector<int>{0});
    }

    void editSpellData() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(1, "B"), Line(1, "C")});
        SelectRows(window.lbSpells, {0, 2});
        QStringList shown;
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                shown << edit.ebName->text();
                edit.ebName->setText("Z"); // now sorts behind C
            },
            true);
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                shown << edit.ebName->text();
                edit.spnLevel->setValue(2);
            },
            true);
        window.mnuEditSpellClick();
        QCOMPARE(shown, (QStringList{"A", "C"}));
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"B", "Z", "C"}));
        QCOMPARE(window.Book().LevelCount[1], 2);
        QCOMPARE(Rows(window.lbSpells), (QStringList{"B  (cat) [B 1] - C", "Z  (cat) [B 1] - C"}));
        QVERIFY(window.Book().Modified);

        // A double-click edits too; Cancel changes nothing.
        window.SetModified(false);
        SelectRows(window.lbSpells, {0});
        h->prompter.Exec({}, false);
        emit window.lbSpells->doubleClicked(window.lbSpells->model()->index(0, 0));
        QVERIFY(!window.Book().Modified);
    }

    void editToAnotherSpellsLevelAndNameIsRefused() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(2, "B")});
        SelectRows(window.lbSpells, {0});
        h->prompter.Exec<TfrmSpellEdit>(
            [](auto& edit) {
                edit.spnLevel->setValue(2);
                edit.ebName->setText("b");
            },
            true);
        h->prompter.Message(Answer::Ok);
        window.mnuEditSpellClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("A spell of level 2 named \"b\" already exists.\r\n"
                                "The spell was not changed."));
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"A", "B"}));
        QVERIFY(!window.Book().Modified);
    }

    void createNewSpell() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A")});
        AnswerSpellEdit(h->prompter, {4, "New", "PHB", "5", "alt", 4});
        h->prompter.Message(Answer::Yes);
        h->prompter.Exec<TfrmSpellEdit>(
            [](auto& edit) {
                const SpellFields next = ReadFields(edit);
                QCOMPARE(next.level, 4);
                QCOMPARE(next.name, QString());
                QCOMPARE(next.book, QStringLiteral("PHB"));
                QCOMPARE(next.frequencyRow, 4);
                edit.ebName->setText("a"); // level 4 "a" is new
            },
            true);
        h->prompter.Message(Answer::No);
        window.mnuCreateNewSpellClick();
        QCOMPARE(h->prompter.Records()[1].text,
                 QStringLiteral("Spell has been added.\r\nWould you like to add another?"));
        // No eligibility test: a fourth-level Restricted spell at caster level 5.
        QCOMPARE(window.Book().LevelCount[4], 2);
        QVERIFY(window.Book().Modified);
    }

    void createNewSpellAlreadyHeld() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A")});
        AnswerSpellEdit(h->prompter, {1, "a", "Other", "5", "x", 0});
        h->prompter.Message(Answer::Ok).Message(Answer::Yes);
        h->prompter.Exec({}, false);
        window.mnuCreateNewSpellClick();
        const auto& records = h->prompter.Records();
        QCOMPARE(records[1].kind, BoxKind::Error);
        QCOMPARE(records[1].text,
                 QStringLiteral("A spell of level 1 named \"A\" already exists.\r\n"
                                "The spell was not added."));
        QCOMPARE(records[2].kind, BoxKind::Confirmation);
        QCOMPARE(records[2].text, QStringLiteral("Would you like to add another?"));
        QCOMPARE(window.Book().Count(), 1);
        QCOMPARE(window.Book().SpellAt(1, 0)->Book, std::string("B"));
        QVERIFY(!window.Book().Modified);
    }

    void importWithAnIneligibleSpellAnsweredCancel() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        const QString file = h->home.Write(h->home.Working() + "import.dat",
                                           Line(1, "One") + "\r\n" + Line(1, "Rare", 'R') + "\r\n" +
                                               Line(2, "Two") + "\r\n \r\n");
        h->prompter.OpenFile(file).Message(Answer::Cancel);
        window.mnuImportSpellsClick();
        const FileDialogSpec& request = h->prompter.Records()[0].request;
        QCOMPARE(request.title, QStringLiteral("Import Spells"));
        QCOMPARE(request.filter, QStringLiteral("*.SPB (spellbook Files)|*.spb|*.DAT (data "
                                                "files)|*.dat|*.* (all files)|*.*"));
        QVERIFY(request.mustExist);
        QCOMPARE(h->prompter.Records().size(), size_t(2));
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Added spell...\r\n--->  Rare  "
                                                         "<---\r\nis invalid for this spellbook"));
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"One", "Two"}));
        QCOMPARE(window.lbSpells->count(), 1);
        QVERIFY(window.Book().Modified);

        // A file that cannot be opened does nothing.
        window.SetModified(false);
        h->prompter.OpenFile(h->home.Working() + "gone.dat");
        window.mnuImportSpellsClick();
        QVERIFY(!window.Book().Modified);
    }

    // The questions of one import or drop: from the second on, the box offers
    // "OK to All" and "Cancel All", which settle the rest of the batch unasked.
    // The book takes Common spells only; R1 to R4 are Rare.
    void batchOfIneligibleSpells_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("inBook");
        for (const char* how : {"import", "drop", "add to book"}) {
            QTest::addRow("%s: OK, OK to All", how)
                << QString(how) << QList<Answer>{Answer::Ok, Answer::OkToAll}
                << QStringList{"A", "R1", "R2", "R3", "R4"};
            QTest::addRow("%s: Cancel, Cancel All", how)
                << QString(how) << QList<Answer>{Answer::Cancel, Answer::CancelAll}
                << QStringList{"A"};
            QTest::addRow("%s: Cancel, OK, Cancel All", how)
                << QString(how) << QList<Answer>{Answer::Cancel, Answer::Ok, Answer::CancelAll}
                << QStringList{"A", "R2"};
            QTest::addRow("%s: Cancel, OK to All", how)
                << QString(how) << QList<Answer>{Answer::Cancel, Answer::OkToAll}
                << QStringList{"A", "R2", "R3", "R4"};
            QTest::addRow("%s: each asked", how)
                << QString(how)
                << QList<Answer>{Answer::Ok, Answer::Cancel, Answer::Ok, Answer::Cancel}
                << QStringList{"A", "R1", "R3"};
        }
    }
    void batchOfIneligibleSpells() {
        QFETCH(QString, how);
        const bool drop = how == "drop";
        const bool fromMaster = how == "add to book";
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, inBook);
        const QList<QByteArray> lines{Line(1, "A"), Line(1, "R1", 'R'), Line(1, "R2", 'R'),
                                      Line(1, "R3", 'R'), Line(1, "R4", 'R')};
        QByteArray file;
        for (const QByteArray& line : lines) file += line + "\r\n";
        file += " \r\n";
        h->UseMasterList(fromMaster ? file : MasterFile);
        h->Start();
        TfrmSpellBook* source = drop ? &Open(lines, "source.spb") : nullptr;
        TfrmSpellBook& window = Open({}, "target.spb");
        const QString import = h->home.Write(h->home.Working() + "import.dat", file);
        if (drop) SelectRows(source->lbSpells, {0, 1, 2, 3, 4});
        const auto offerBatch = [&](const QList<Answer>& batchAnswers) {
            if (!drop && !fromMaster) h->prompter.OpenFile(import);
            for (Answer answer : batchAnswers) h->prompter.Message(answer);
            if (drop) {
                window.lbSpellsDragDrop(*source->lbSpells);
            } else if (fromMaster) {
                SelectRows(Master().lbSpells, {0, 1, 2, 3, 4});
                Master().mnuAddToBookClick();
            } else {
                window.mnuImportSpellsClick();
            }
        };
        offerBatch(answers);

        std::vector<PromptRecord> boxes;
        for (const PromptRecord& record : h->prompter.Records())
            if (record.type == PromptType::Message) boxes.push_back(record);
        QCOMPARE(boxes.size(), size_t(answers.size()));
        for (size_t k = 0; k < boxes.size(); ++k) {
            QCOMPARE(boxes[k].kind, BoxKind::Information);
            QCOMPARE(boxes[k].buttons, k == 0 ? BoxButtons::OkCancel : BoxButtons::OkCancelAll);
            QCOMPARE(boxes[k].text, QStringLiteral("Added spell...\r\n--->  R%1  <---\r\nis "
                                                   "invalid for this spellbook")
                                        .arg(k + 1));
        }
        std::vector<std::string> expected;
        for (const QString& name : inBook) expected.push_back(name.toStdString());
        QCOMPARE(Names(window.Book()), expected);
        QCOMPARE(window.lbSpells->count(), int(expected.size()));
        // A drop or addition shows what went in selected; one Undo takes the batch back.
        QCOMPARE(SelectedCount(window.lbSpells), drop || fromMaster ? int(expected.size()) : 0);
        window.mnuUndoClick();
        QCOMPARE(window.Book().Count(), 0);

        // The next batch starts afresh: its first question has no "to All".
        h->prompter.Message(Answer::Ok);
        window.mnuClearBookClick();
        offerBatch({Answer::Cancel, Answer::CancelAll});
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::OkCancelAll);
        QCOMPARE(h->prompter.Records()[h->prompter.Records().size() - 2].buttons,
                 BoxButtons::OkCancel);
        QCOMPARE(Names(window.Book()), (std::vector<std::string>{"A"}));
    }

    void importReadFailureIsShown() {
        StartWithList();
        TfrmSpellBook& window = Open({});
        QByteArray big;
        for (int i = 1000; i < 9000; ++i) big += Line(1, "S") + QByteArray::number(i) + "\r\n";
        const QString file = h->home.Write(h->home.Working() + "big.dat", big);
        SetReadFailureAfterBytesForTesting(100);
        h->prompter.OpenFile(file).Message(Answer::Ok);
        window.mnuImportSpellsClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Error Reading Spell File\r\n") + file);
        QCOMPARE(h->prompter.Last().informative, QString::fromLocal8Bit(std::strerror(EIO)));
        QCOMPARE(window.Book().Count(), 0);
        QVERIFY(!window.Book().Modified);
    }

    void exportWritesTheWholeBook() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(3, "C")});
        const QString file = h->home.Working() + "out.dat";
        h->prompter.SaveFile(file);
        window.mnuExportSpellClick();
        const FileDialogSpec& request = h->prompter.Last().request;
        QCOMPARE(request.title, QStringLiteral("Export Spells"));
        QCOMPARE(request.filter, QStringLiteral("*.DAT (data files)|*.DAT|*.* (all files)|*.*"));
        QVERIFY(request.confirmOverwrite);
        QVERIFY(request.defaultSuffix.isEmpty());
        QCOMPARE(ReadSpellList(file.toStdString())->Count(), 2);
        QVERIFY(!window.Book().Modified);

        const QString bad = h->home.Working() + "no/such/out.dat";
        h->prompter.SaveFile(bad).Message(Answer::Ok);
        window.mnuExportSpellClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Error Writing Spell File\r\n") + bad);
    }

    void copyToClipboard() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A"), Line(1, "B")});
        QGuiApplication::clipboard()->setText("before");
        h->prompter.Exec({}, false);
        window.mnuCopytoClipboardClick();
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Output Format"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

        h->home.CopyResource("Vellumar.HLP", h->home.Home());
        h->prompter.Exec([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_F1); }, true);
        window.mnuCopytoClipboardClick();
        QCOMPARE(h->Context().Help().CurrentTopic(), 300);
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY(text.startsWith(QStringLiteral("Spell Book:") + window.Caption() +
                                QStringLiteral("\r\nCaster Level: 5\r\n")));
        QVERIFY(text.contains(QStringLiteral("A [B 1],  B [B 1]\r\n")));
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Copying to Clipboard"));
        QVERIFY(!h->Context().Working().isVisible());
        QVERIFY(!window.Book().Modified);
    }

    void previewAndPrint() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A")});
        h->home.CopyResource("Vellumar.HLP", h->home.Home());
        h->prompter.Exec(
            [&](QDialog& dialog) {
                auto& preview = dynamic_cast<TfrmPrintPreview&>(dialog);
                QCOMPARE(preview.parentWidget(), &window);
                QTest::keyClick(&preview, Qt::Key_F1);
                preview.RenderPreview();
                QVERIFY(!preview.PreviewImage().isNull());
            },
            false);
        window.mnuPrintPreviewClick();
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Print Preview"));
        QCOMPARE(h->Context().Help().CurrentTopic(), 200);
        QVERIFY(window.findChildren<TfrmPrintPreview*>().isEmpty()); // gone again

        // Print shows only the print dialog. PDF output is offered the book's
        // name in the data directory.
        h->Context().Printer().setOutputFormat(QPrinter::PdfFormat);
        QString offered;
        h->prompter.PrintDialog([&](QPrinter& printer) {
            offered = printer.outputFileName();
            return false;
        });
        window.mnuPrintClick();
        QCOMPARE(offered, QDir(h->Frame().DataDirectory()).filePath(QStringLiteral("book.pdf")));
        QCOMPARE(h->prompter.Records().back().type, PromptType::PrintDialog);
        QVERIFY(window.findChildren<TfrmPrintPreview*>().isEmpty());

        h->prompter.PrinterSetup(false);
        window.mnuPrinterSetupClick();
        QVERIFY(!window.Book().Modified);

        // With spell texts a big book's pages are laid out behind the box, once.
        QList<QByteArray> many;
        for (int i = 0; i <= int(ManyCards); ++i) many << Line(1, qPrintable(QString::number(i)));
        TfrmSpellBook& big = Open(many, "big.spb");
        h->Context().Output().IncludeSpellTexts = true;
        const int begun = h->Context().Working().TasksBegun();
        h->prompter.Exec<TfrmPrintPreview>(
            [](auto& preview) {
                preview.RenderPreview();
                preview.RenderPreview(); // nothing changed in between
            },
            false);
        big.mnuPrintPreviewClick();
        QCOMPARE(h->Context().Working().TasksBegun(), begun + 1);
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Laying Out Pages"));
    }

    // The PDF holds the pages Print makes through the print dialog's PDF output.
    void exportAsPdfWritesThePrintedPages_data() {
        QTest::addColumn<int>("spells");
        QTest::addColumn<int>("columns");
        QTest::newRow("one spell") << 1 << 1;
        QTest::newRow("many spells, one column") << 300 << 1;
        QTest::newRow("many spells, four columns") << 300 << 4;
    }
    void exportAsPdfWritesThePrintedPages() {
        QFETCH(int, spells);
        QFETCH(int, columns);
        StartWithList();
        QList<QByteArray> lines;
        for (int i = 0; i < spells; ++i)
            lines << Line(1, QByteArray("Spell " + QByteArray::number(i)).constData());
        TfrmSpellBook& window = Open(lines);
        h->Context().Output().Columns = columns;

        const QString printed = h->home.Working() + "printed.pdf";
        h->Context().Printer().setOutputFormat(QPrinter::PdfFormat);
        h->prompter.PrintDialog([&](QPrinter& printer) {
            printer.setOutputFileName(printed);
            return true;
        });
        window.mnuPrintClick();

        const QString exported = h->home.Working() + "exported.pdf";
        h->prompter.SaveFile(exported);
        window.mnuExportPdfClick();
        const FileDialogSpec& request = h->prompter.Last().request;
        QCOMPARE(request.title, QStringLiteral("Export as PDF"));
        QCOMPARE(request.fileName, QStringLiteral("book.pdf"));
        QVERIFY(request.confirmOverwrite);
        const int pages = PdfPageCount(exported.toStdString());
        QCOMPARE(pages, PdfPageCount(printed.toStdString()));
        QVERIFY(pages >= 1);
        if (spells > 100 && columns == 1) QVERIFY(pages > 1);
        QVERIFY(!window.Book().Modified);
    }

    void exportAsPdfFailureIsShownAndKeepsTheOldFile() {
        StartWithList();
        TfrmSpellBook& window = Open({Line(1, "A")});
        const QString bad = h->home.Working() + "no/such/out.pdf";
        h->prompter.SaveFile(bad).Message(Answer::Ok);
        window.mnuExportPdfClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Error Writing PDF File\r\n") + bad);
        QVERIFY(!h->prompter.Last().informative.isEmpty());
        QVERIFY(!QFile::exists(bad));
    }

    void createScroll() {
        StartWithList();
        TfrmSpellBook& source = Open({Line(1, "A"), Line(1, "B"), Line(1, "C"), Line(3, "D")});
        source.cbWizardSpecialty->setEditText("Invoker");
        source.cbSpellFrequency->setCurrentIndex(2);
        h->prompter.Exec({}, false);
        source.mnuCreateScrollClick();
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));

        h->prompter.Exec<TfrmScrollParm>(
            [](auto& parm) {
                QVERIFY(!parm.LevelSpin(2)->isVisibleTo(&parm));
                parm.LevelSpin(1)->setValue(2);
                parm.LevelSpin(3)->setValue(1);
            },
            true);
        source.mnuCreateScrollClick();
        QCOMPARE(h->SpellBookWindows().size(), size_t(2));
        TfrmSpellBook* scroll = h->ActiveSpellBook();
        QVERIFY(scroll != &source);
        QCOMPARE(scroll->Caption(), QStringLiteral("untitled"));
        QVERIFY(scroll->Book().Modified);
        QVERIFY(scroll->isWindowModified());
        QCOMPARE(scroll->Book().LevelCount[1], 2);
        QCOMPARE(scroll->Book().LevelCount[3], 1);
        QCOMPARE(scroll->Book().CasterLevel, 5);
        QCOMPARE(scroll->Book().Intelligence, 12);
        QCOMPARE(scroll->Book().Specialty, std::string("Invoker"));
        QCOMPARE(scroll->cbWizardSpecialty->currentText(), QStringLiteral("Invoker"));
        QCOMPARE(scroll->cbSpellFrequency->currentIndex(), 2);
        QCOMPARE(scroll->SpellLevel(), 1);
        QCOMPARE(scroll->lbSpells->count(), 2);
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Creating Scroll"));
        QVERIFY(!h->Context().Working().isVisible());
        QCOMPARE(source.Book().Count(), 4);
    }
};

QTEST_MAIN(SpellBookCommandsTest)
#include "spell_book_commands_test.moc"
