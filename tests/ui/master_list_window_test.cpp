// The master spell list window: its layout, sending spells to a book, editing,
// saving, switching files and the close question.

#include "files/line_reader.h"
#include "files/paired_write.h"
#include "files/safe_write.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/text_conversion.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/book_undo.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_card_view.h"
#include "ui/spell_details_dialog.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_filter_bar.h"
#include "ui/working_box.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <cerrno>
#include <cstring>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                              "1,\"Burning Hands\",\"SRD\",2,\"C\",\"Evocation\"\r\n"
                              "1,\"Charm Person\",\"SRD\",3,\"C\",\"Enchantment\"\r\n"
                              "1,\"Detect Magic\",\"SRD\",4,\"C\",\"Divination\"\r\n"
                              "1,\"Feather Fall\",\"SRD\",5,\"C\",\"Transmutation\"\r\n"
                              "3,\"Counterspell\",\"SRD\",6,\"C\",\"Abjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
                              "3,\"Haste\",\"SRD\",8,\"R\",\"Transmutation\"\r\n"
                              " \r\n";

const QByteArray Texts = R"([{"name": "Fireball", "level": 3, "casting_time": "1 action",
                              "description": ["A bright streak."], "extra": 1}])";

} // namespace

class MasterListWindowTest : public HarnessTest {
    Q_OBJECT
    QString masterPath;

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    TSpellBook& List() { return *h->Context().MasterList(); }
    // Starts with MasterFile, and with `texts` beside it when there are any.
    void StartWithList(const QByteArray& texts = {}) {
        masterPath = h->UseMasterList(MasterFile, texts);
        h->Start();
        QVERIFY(h->Context().MasterList());
    }
    // A spellbook window of caster level 5 that admits only Common spells.
    TfrmSpellBook& OpenBook() {
        const QString path = h->home.Write("target.spb", SpellbookV4(5, 12, "Generalist", 'C', {}));
        h->Frame().OpenSpellbookFile(path);
        return *h->ActiveSpellBook();
    }
    void ShowLevel(int level) { Master().grpSpellLevel->button(level)->click(); }

private slots:
    void cleanup() {
        HarnessTest::cleanup();
        SetWriteFailureAfterBytesForTesting(-1);
        SetReadFailureAfterBytesForTesting(-1);
    }

    void layoutMenusAndButtons() {
        StartWithList();
        TfrmMasterList& window = Master();
        QCOMPARE(window.windowTitle(), QStringLiteral("Master Spell List"));
        QVERIFY(!window.isVisible()); // created hidden
        QCOMPARE(window.parent(), &h->Frame());
        QStringList titles;
        for (QAction* action : window.menuBar()->actions()) titles << action->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit"}));
        QCOMPARE(ItemTexts(window.mnuFile),
                 (QStringList{"&Add Spells to Book", "-", "&Current Master File is...",
                              "&Save Master File", "Set &Master File...", "-", "E&xit"}));
        QCOMPARE(ItemTexts(window.mnuEdit),
                 (QStringList{"&Edit Spell Data", "&Add New Spell\tIns", "&Delete Spell\tDel", "-",
                              "Spell &Text\tF9", "-", Keyed("&Undo", QKeySequence::Undo),
                              Keyed("&Redo", QKeySequence::Redo)}));
        QCOMPARE(ItemTexts(window.pmnuMaster),
                 (QStringList{"Edit Spell Data", "Add New Spell", "Delete Spell", "-",
                              "Current Master File is...", "Save Master File", "Set Master File"}));
        QVERIFY(!window.mnuSaveMasterFile->isEnabled());
        QVERIFY(window.pmnuMaster->actions()[5]->isEnabled());
        QStringList tips;
        for (QToolButton* button : {window.bnAddToBook, window.bnEditSpell, window.bnDeleteSpell,
                                    window.bnAddNewSpell, window.bnExit})
            tips << button->toolTip();
        QCOMPARE(tips, (QStringList{"Add Spells to Book", "Edit Spell", "Delete Spell",
                                    "Add New Spell", "Close Master Spell List"}));
        QCOMPARE(window.bnExit->text(), QStringLiteral("E&xit"));
        QCOMPARE(window.grpSpellLevel->buttons().size(), 9);
        QCOMPARE(window.SpellLevel(), 1);
        QCOMPARE(Rows(window.lbSpells), (QStringList{"Alarm  (Abjuration) [SRD 1] - C",
                                                     "Burning Hands  (Evocation) [SRD 2] - C",
                                                     "Charm Person  (Enchantment) [SRD 3] - C",
                                                     "Detect Magic  (Divination) [SRD 4] - C",
                                                     "Feather Fall  (Transmutation) [SRD 5] - C"}));
        QCOMPARE(window.lbSpells->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(h->Context().Working().LastShown().task,
                 QStringLiteral("Loading Master Spell List"));

        // The level selector rebuilds the rows and drops the selection.
        SelectRows(window.lbSpells, {0, 1});
        ShowLevel(3);
        QCOMPARE(window.lbSpells->count(), 3);
        QVERIFY(SelectedCount(window.lbSpells) == 0);

        // Resizing: the list runs to the bottom, 20 narrower than the client area.
        window.show();
        QTRY_VERIFY(window.bnAddToBook->x() < window.bnEditSpell->x());
        QVERIFY(window.bnEditSpell->x() < window.bnDeleteSpell->x());
        QVERIFY(window.bnDeleteSpell->x() < window.bnAddNewSpell->x());
        QVERIFY(window.bnAddNewSpell->x() < window.bnExit->x());
        window.resize(500, 400);
        QTRY_COMPARE(window.lbSpells->width(), window.centralWidget()->width() - 20);
        // The spell's card shares the list's room: the list, then the card, to the bottom.
        QCOMPARE(GeometryIn(window.memSpellText, window.centralWidget()).bottom() + 1,
                 window.centralWidget()->height());
        QVERIFY(window.lbSpells->geometry().bottom() < window.memSpellText->y());
        window.resize(50, 50);
        QTRY_VERIFY(window.centralWidget()->height() >= 170);
        QVERIFY(window.centralWidget()->width() >= 345);

        // Exit only hides the window.
        window.bnExit->click();
        QVERIFY(!window.isVisible());
        QVERIFY(h->Context().MasterList());
    }

    void emptyStartAndTheCurrentFile() {
        h->Start();
        QVERIFY(!h->Context().MasterList());
        QCOMPARE(Master().lbSpells->count(), 0);
        h->prompter.Message(Answer::Ok);
        Master().mnuCurrentMasterFileClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Information);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("The current Master Spell File is:\r\nMaster.dat"));
        // Commands on rows do nothing; closing asks nothing.
        Master().mnuDeleteSpellClick();
        Master().mnuEditSpellClick();
        QVERIFY(Master().FormCloseQuery());
    }

    // A list that is there but could not be read is the user's: it is reported
    // with the reason, and a save asks before writing over it.
    void unreadListIsReportedAndNotWrittenOverUnasked() {
        QByteArray big;
        for (int i = 1000; i < 9000; ++i) big += "1,\"Spell " + QByteArray::number(i) + "\"\r\n";
        const QString path = h->home.Working() + "MASTER.DAT";
        h->home.Write(path, big);
        SetReadFailureAfterBytesForTesting(100);
        h->prompter.Message(Answer::Ok);
        h->Start();
        SetReadFailureAfterBytesForTesting(-1);
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Reading Master Spell List\r\n") + path);
        QCOMPARE(h->prompter.Last().informative, QString::fromLocal8Bit(std::strerror(EIO)));
        QVERIFY(!h->Context().MasterList());
        QVERIFY(!h->Context().Working().isVisible());
        QCOMPARE(Master().lbSpells->count(), 0);

        h->prompter.Exec<TfrmSpellEdit>([](auto& edit) { edit.ebName->setText("Alarm"); }, true);
        h->prompter.Message(Answer::No); // no other spell
        Master().mnuAddNewSpellClick();
        h->prompter.Message(Answer::No);
        QVERIFY(!Master().mnuSaveMasterFileClick());
        const PromptRecord question = h->prompter.Last();
        QCOMPARE(question.kind, BoxKind::Confirmation);
        QCOMPARE(question.buttons, BoxButtons::YesNoDefaultNo);
        QCOMPARE(question.text, QStringLiteral("The Master Spell File\r\n") + path +
                                    QStringLiteral("\r\ncould not be read. Do you wish to "
                                                   "replace it?"));
        QCOMPARE(ReadBack(path), big);
        QVERIFY(List().Modified);

        h->prompter.Message(Answer::Yes);
        QVERIFY(Master().mnuSaveMasterFileClick());
        QCOMPARE(ReadSpellList(ToPath(path))->Count(), 1);
        // Written once, the file is the list's own: the next save asks nothing.
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        QVERIFY(Master().mnuSaveMasterFileClick());
        QCOMPARE(ReadSpellList(ToPath(path))->Count(), 0);
    }

    void addThreeRowsWithOneIneligible() {
        StartWithList();
        TfrmSpellBook& book = OpenBook();
        QCOMPARE(book.SpellLevel(), 1);
        ShowLevel(3);
        SelectRows(Master().lbSpells, {0, 1, 2});
        h->prompter.Message(Answer::Cancel);
        Master().mnuAddToBookClick();
        QCOMPARE(h->prompter.Records().size(), size_t(1));
        const PromptRecord& box = h->prompter.Last();
        QCOMPARE(box.kind, BoxKind::Information);
        QCOMPARE(box.buttons, BoxButtons::OkCancel);
        QCOMPARE(
            box.text,
            QStringLiteral("Added spell...\r\n--->  Haste  <---\r\nis invalid for this spellbook"));
        QCOMPARE(book.SpellLevel(), 3);
        QCOMPARE(Rows(book.lbSpells), (QStringList{"Counterspell  (Abjuration) [SRD 6] - C",
                                                   "Fireball  (Evocation) [SRD 7] - C"}));
        QVERIFY(book.Book().Modified);
        QVERIFY(book.isWindowModified());
        // The master list and its selection stay as they were.
        QCOMPARE(SelectedCount(Master().lbSpells), 3);
        QVERIFY(!List().Modified);

        // OK lets the ineligible spell in; a double-click on a row adds it too.
        h->prompter.Message(Answer::Ok);
        Master().mnuAddToBookClick();
        QCOMPARE(book.Book().LevelCount[3], 3);
        ShowLevel(1);
        SelectRows(Master().lbSpells, {4});
        emit Master().lbSpells->doubleClicked(Master().lbSpells->model()->index(4, 0));
        QCOMPARE(book.SpellLevel(), 1);
        QCOMPARE(Rows(book.lbSpells), (QStringList{"Feather Fall  (Transmutation) [SRD 5] - C"}));
    }

    void addToBookWithoutASpellbookWindowDoesNothing() {
        StartWithList();
        SelectRows(Master().lbSpells, {0, 1});
        Master().mnuAddToBookClick();
        QVERIFY(h->prompter.Records().empty());
        QVERIFY(h->SpellBookWindows().empty());
        // No selection with a window open does nothing either.
        TfrmSpellBook& book = OpenBook();
        Master().lbSpells->clearSelection();
        Master().mnuAddToBookClick();
        QCOMPARE(book.Book().Count(), 0);
        QVERIFY(!book.Book().Modified);
    }

    void addNewSpellCarriesTheFieldsOver() {
        StartWithList();
        const SpellFields first{2, "Web", "PHB", "17", "Conjuration", 2};
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                QCOMPARE(edit.windowTitle(), QStringLiteral("Edit Spell Data"));
                const SpellFields fresh = ReadFields(edit);
                QCOMPARE(fresh.level, 1);
                QCOMPARE(fresh.name, QString());
                QCOMPARE(fresh.page, QStringLiteral("0"));
                QCOMPARE(fresh.frequencyRow, 0);
                TypeSpell(edit, first);
            },
            true);
        h->prompter.Message(Answer::Yes);
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                const SpellFields next = ReadFields(edit);
                QCOMPARE(next.level, 2);
                QCOMPARE(next.name, QString());
                QCOMPARE(next.book, QStringLiteral("PHB"));
                QCOMPARE(next.page, QStringLiteral("17"));
                QCOMPARE(next.category, QStringLiteral("Conjuration"));
                QCOMPARE(next.frequencyRow, 2);
                edit.ebName->setText("Mirror Image");
            },
            true);
        h->prompter.Message(Answer::No);
        Master().mnuAddNewSpellClick();
        QCOMPARE(h->prompter.Records()[1].text,
                 QStringLiteral("Spell has been added.\r\nWould you like to add another?"));
        QCOMPARE(h->prompter.Records()[1].buttons, BoxButtons::YesNo);
        QCOMPARE(List().LevelCount[2], 2);
        QVERIFY(List().Modified);
        QVERIFY(Master().mnuSaveMasterFile->isEnabled());
        ShowLevel(2);
        QCOMPARE(Rows(Master().lbSpells), (QStringList{"Mirror Image  (Conjuration) [PHB 17] - R",
                                                       "Web  (Conjuration) [PHB 17] - R"}));

        // Cancel at once adds nothing.
        h->prompter.Exec({}, false);
        Master().mnuAddNewSpellClick();
        QCOMPARE(List().Count(), 10);
    }

    void deleteTheSecondAndThirdRows() {
        StartWithList();
        SelectRows(Master().lbSpells, {1, 2});
        Master().mnuDeleteSpellClick();
        QVERIFY(h->prompter.Records().empty()); // no question
        QCOMPARE(Names(List()), (std::vector<std::string>{"Alarm", "Detect Magic", "Feather Fall",
                                                          "Counterspell", "Fireball", "Haste"}));
        QCOMPARE(List().LevelCount[1], 3);
        QCOMPARE(Master().lbSpells->count(), 3);
        QVERIFY(Master().mnuSaveMasterFile->isEnabled());
    }

    void saveWritesTheFileAndClearsTheChange() {
        StartWithList();
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        QVERIFY(Master().mnuSaveMasterFileClick());
        QVERIFY(!List().Modified);
        QVERIFY(!Master().mnuSaveMasterFile->isEnabled());
        auto back = ReadSpellList(masterPath.toStdString());
        QCOMPARE(back->Count(), 7);
    }

    // Every change of a text is one step with its spell's: undone and redone.
    void textChangesAreUndone_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fireball"); // Fireball's casting time afterwards, "-" none
        QTest::addColumn<QString>("other");    // another spell that has a text afterwards
        const char* rows[][3] = {{"details", "1 bonus action", ""},
                                 {"rename", "-", "Fireball II"},
                                 {"delete", "-", ""},
                                 {"create", "1 action", "Flame"}};
        for (const auto& row : rows) QTest::newRow(row[0]) << row[0] << row[1] << row[2];
    }
    void textChangesAreUndone() {
        QFETCH(QString, command);
        QFETCH(QString, fireball);
        QFETCH(QString, other);
        StartWithList(Texts);
        SpellTexts& texts = h->Context().MasterTexts();
        const SpellTexts before = texts;
        ShowLevel(3);
        SelectRows(Master().lbSpells, {1}); // Fireball
        // All but delete go through the spell edit dialog; details and create
        // set a casting time in its Details... dialog.
        if (command != "delete")
            h->prompter.Exec<TfrmSpellEdit>(
                [&](auto& edit) {
                    if (command == "rename") {
                        edit.ebName->setText(other);
                        return;
                    }
                    if (command == "create") TypeSpell(edit, {3, other, "B", "1", "evo", 0});
                    QVERIFY(!edit.bnDetails->isHidden());
                    h->prompter.Exec<TfrmSpellDetails>(
                        [](auto& details) { details.ebCastingTime->setText("1 bonus action"); },
                        true);
                    edit.bnDetails->click();
                    if (command == "create") h->prompter.Message(Answer::No); // no other spell
                },
                true);
        if (command == "delete")
            Master().mnuDeleteSpellClick();
        else if (command == "create")
            Master().mnuAddNewSpellClick();
        else
            Master().mnuEditSpellClick();
        const SpellTexts after = texts;
        const SpellText* text = texts.Find(3, "Fireball");
        QCOMPARE(text ? QString::fromStdString(text->CastingTime) : QStringLiteral("-"), fireball);
        QCOMPARE(other.isEmpty() || texts.Find(3, other.toStdString()), true);
        Master().mnuUndoClick();
        QVERIFY(texts == before);
        QVERIFY(!Master().mnuSaveMasterFile->isEnabled());
        Master().mnuRedoClick();
        QVERIFY(texts == after);
    }

    // Both files or neither: a failed companion write puts the list file back.
    void saveWritesListAndTexts_data() {
        QTest::addColumn<bool>("withTexts");
        QTest::addColumn<bool>("companionFails");
        QTest::newRow("list and texts") << true << false;
        QTest::newRow("list without texts") << false << false;
        QTest::newRow("texts not written") << true << true;
    }
    void saveWritesListAndTexts() {
        QFETCH(bool, withTexts);
        QFETCH(bool, companionFails);
        StartWithList(withTexts ? Texts : QByteArray());
        const QString companion = masterPath + ".texts.json";
        ShowLevel(3);
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        if (companionFails) { // a folder where the file should be: the careful writer refuses it
            QVERIFY(QFile::remove(companion) && QDir().mkdir(companion));
            h->prompter.Message(Answer::Ok);
        }
        QCOMPARE(Master().mnuSaveMasterFileClick(), !companionFails);
        QCOMPARE(List().Modified, companionFails);
        const QByteArray list = ReadBack(masterPath);
        if (companionFails) {
            QCOMPARE(list, MasterFile);
            QVERIFY(
                h->prompter.Last().text.startsWith("Error Writing Spell Texts\r\n" + companion));
            return;
        }
        QCOMPARE(ReadSpellList(masterPath.toStdString())->Count(), 7);
        QCOMPARE(QFile::exists(companion), withTexts);
        QVERIFY(!withTexts ||
                *ReadSpellTexts(companion.toStdString()).Take() == h->Context().MasterTexts());
    }

    // A companion that could not be read, or was put back after the list was
    // read without it, is not written over unasked.
    void unreadTextsAreKeptUnlessReplaced_data() {
        QTest::addColumn<bool>("putBack");
        QTest::newRow("could not be read") << false;
        QTest::newRow("put back after reading") << true;
    }
    void unreadTextsAreKeptUnlessReplaced() {
        QFETCH(bool, putBack);
        const QByteArray companion = putBack ? Texts : "[ broken";
        if (!putBack) h->prompter.Message(Answer::Ok); // the reading error
        h->prompter.Message(Answer::No);               // keep the companion
        StartWithList(putBack ? QByteArray() : companion);
        if (putBack) {
            QVERIFY(h->Context().MasterTexts().Empty()); // read now, without it
            h->home.Write(masterPath + ".texts.json", companion);
        } else {
            QTRY_COMPARE(h->prompter.Records().size(), size_t(1));
        }
        ShowLevel(3);
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        QVERIFY(Master().mnuSaveMasterFileClick());
        QVERIFY(!h->prompter.Records().empty());
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::YesNoDefaultNo);
        QVERIFY(h->prompter.Last().text.endsWith(
            putBack ? "\r\nwas not read with the Master Spell List. Do you wish to replace it?"
                    : "could not be read. Do you wish to replace it?"));
        QCOMPARE(ReadSpellList(masterPath.toStdString())->Count(), 7);
        QCOMPARE(ReadBack(masterPath + ".texts.json"), companion);
    }

    // What the texts' reader left out is said in one box naming the companion.
    void textsLeftOutInReadingAreShown() {
        h->prompter.Message(Answer::Ok);
        StartWithList(Texts.chopped(1) + "," + Texts.mid(1)); // Fireball's text twice
        QTRY_COMPARE(h->prompter.Records().size(), size_t(1));
        QCOMPARE(h->prompter.Last().kind, BoxKind::Warning);
        QVERIFY(h->prompter.Last().text.endsWith(masterPath + ".texts.json"));
        QVERIFY(h->prompter.Last().informative.contains("Fireball"));
    }

    // A save the program did not finish is finished before the list is read.
    void interruptedSaveIsFinishedAtLoad() {
        const QString path = h->UseMasterList(MasterFile, "[]");
        SetPairedWriteStopForTesting(4); // the texts in place, the list not yet
        QVERIFY(!WriteFilePair(ToPath(path), "3,\"Fireball\"\r\n", ToPath(path) + ".texts.json",
                               Texts.toStdString()));
        SetPairedWriteStopForTesting(0);
        h->Start();
        QCOMPARE(List().Count(), 1);
        QVERIFY(h->Context().MasterTexts().Find(3, "Fireball"));
    }

    void failedSaveKeepsTheChanges() {
        StartWithList();
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        const QByteArray before = ReadBack(masterPath);
        SetWriteFailureAfterBytesForTesting(10);
        h->prompter.Message(Answer::No);
        QVERIFY(!Master().mnuSaveMasterFileClick());
        SetWriteFailureAfterBytesForTesting(-1);
        QCOMPARE(h->prompter.Last().kind, BoxKind::Confirmation);
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::YesNo);
        QCOMPARE(
            h->prompter.Last().text,
            QStringLiteral("Error Writing Master Spell File\r\n") + masterPath +
                QStringLiteral("\r\nDo you wish to save the Master Spell List to another file?"));
        QVERIFY(List().Modified);
        QVERIFY(Master().mnuSaveMasterFile->isEnabled());
        QCOMPARE(ReadBack(masterPath), before);
    }

    void unwritableMasterFileIsSavedToAChosenFile() {
        StartWithList();
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        const QByteArray before = ReadBack(masterPath);
        const QString chosen = h->home.Working() + QStringLiteral("my master.dat");
        SetWriteFailureAfterBytesForTesting(10);
        // The disk has room again by the time the user picks another file.
        h->prompter.Message(Answer::Yes, [] { SetWriteFailureAfterBytesForTesting(-1); })
            .SaveFile(chosen);
        QVERIFY(Master().mnuSaveMasterFileClick());
        QVERIFY(h->prompter.Last().request.confirmOverwrite);
        QVERIFY(!List().Modified);
        QVERIFY(!Master().mnuSaveMasterFile->isEnabled());
        QCOMPARE(ReadSpellList(chosen.toStdString())->Count(), 7);
        QCOMPARE(Master().MasterFilePath(), chosen.toStdString());
        QCOMPARE(ReadBack(masterPath), before);

        // Cancel in the dialog keeps the changes unsaved.
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        SetWriteFailureAfterBytesForTesting(10);
        h->prompter.Message(Answer::Yes).SaveFile(QString());
        QVERIFY(!Master().mnuSaveMasterFileClick());
        SetWriteFailureAfterBytesForTesting(-1);
        QVERIFY(List().Modified);
    }

    void closeQuestionNoReloadsTheFile() {
        StartWithList();
        Master().show();
        SelectRows(Master().lbSpells, {0, 1});
        Master().mnuDeleteSpellClick();
        h->prompter.Message(Answer::Cancel);
        QVERIFY(!Master().close());
        QVERIFY(Master().isVisible());
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Master Spell List has been changed and has \r\nnot been saved. "
                                "Do you wish to save it now?"));
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::YesNoCancel);

        h->prompter.Message(Answer::No);
        QVERIFY(Master().close());
        QVERIFY(!Master().isVisible());
        QCOMPARE(List().Count(), 8);
        QVERIFY(!List().Modified);
        QVERIFY(!Master().mnuSaveMasterFile->isEnabled());
        QCOMPARE(Master().lbSpells->count(), 5);
        QCOMPARE(h->Context().Working().LastShown().task,
                 QStringLiteral("Resetting Master Spell List"));
    }

    void programEndAsksAboutTheMasterList() {
        StartWithList();
        Master().show();
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        h->prompter.Message(Answer::Cancel);
        QVERIFY(!h->Frame().close());
        QVERIFY(h->Frame().isVisible());
        h->prompter.Message(Answer::Yes);
        QVERIFY(h->Frame().close());
        QVERIFY(!Master().isVisible());
        QCOMPARE(ReadSpellList(masterPath.toStdString())->Count(), 7);
    }

    void setMasterFile() {
        StartWithList();
        QDir(h->home.Working()).mkpath("other");
        const QString other = h->home.Write(h->home.Working() + "other/list.dat",
                                            "2,\"Web\",\"X\",0,\"C\",\"c\"\r\n \r\n");
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();

        // Cancel at the save question changes nothing.
        h->prompter.OpenFile(other).Message(Answer::Cancel);
        h->Frame().mnuSetMasterFileClick();
        const FileDialogSpec& request = h->prompter.Records()[0].request;
        QCOMPARE(request.filter, QStringLiteral("*.DAT (data files)|*.dat|*.SPB (spellbook "
                                                "files)|*.spb|*.* (all files)|*.*"));
        QCOMPARE(request.fileName, QStringLiteral("MASTER.DAT"));
        QCOMPARE(QDir(request.directory), QDir(h->home.Working()));
        QCOMPARE(
            h->prompter.Last().text,
            QStringLiteral("Master Spell File has been changed.\r\nDo you wish to save it now?"));
        QCOMPARE(h->prompter.Last().buttons, BoxButtons::YesNoCancel);
        QVERIFY(List().Modified);
        QCOMPARE(List().Count(), 7);
        QCOMPARE(h->Context().Settings().File().ReadString("Vellumar", "MasterFile", "none"),
                 std::string("none"));

        // Cancel in the file dialog asks nothing.
        h->prompter.OpenFile({});
        Master().mnuSetMasterFileClick();

        // No: the changes go, the other file is loaded and named by the settings.
        h->prompter.OpenFile(other).Message(Answer::No);
        Master().mnuSetMasterFileClick();
        QCOMPARE(h->Context().Settings().File().ReadString("Vellumar", "MasterFile", ""),
                 other.toStdString());
        QCOMPARE(List().Count(), 1);
        QVERIFY(!List().Modified);
        QCOMPARE(ReadSpellList(masterPath.toStdString())->Count(), 8);
        QCOMPARE(h->Context().Working().LastShown().task,
                 QStringLiteral("Loading Master Spell List"));
        h->prompter.Message(Answer::Ok);
        Master().mnuCurrentMasterFileClick();
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("The current Master Spell File is:\r\n") + other);
    }

    void editSeveralRowsEachOnce() {
        StartWithList();
        SelectRows(Master().lbSpells, {0, 1});
        QStringList shown;
        // The first edit moves Alarm behind every other spell of its level.
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                shown << edit.ebName->text();
                edit.ebName->setText("Zone of Truth");
            },
            true);
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                shown << edit.ebName->text();
                edit.ebPage->setText("99");
            },
            true);
        Master().mnuEditSpellClick();
        QCOMPARE(shown, (QStringList{"Alarm", "Burning Hands"}));
        QCOMPARE(Rows(Master().lbSpells).first(),
                 QStringLiteral("Burning Hands  (Evocation) [SRD 99] - C"));
        QCOMPARE(Rows(Master().lbSpells).last(),
                 QStringLiteral("Zone of Truth  (Abjuration) [SRD 1] - C"));
        QCOMPARE(List().LevelCount[1], 5);
        QVERIFY(List().Modified);
        QVERIFY(Master().mnuSaveMasterFile->isEnabled());
    }

    // OK on what was loaded, its Details... too, changes nothing, and the row stays selected.
    void okWithoutChangesChangesNothing() {
        StartWithList(Texts);
        ShowLevel(3);
        SelectRows(Master().lbSpells, {1}); // Fireball, which has a text
        h->prompter.Exec<TfrmSpellEdit>(
            [this](auto& edit) {
                h->prompter.Exec({}, true);
                edit.bnDetails->click();
            },
            true);
        Master().mnuEditSpellClick();
        QVERIFY(!List().Modified);
        QVERIFY(!Master().History().Stack().canUndo());
        QCOMPARE(Master().lbSpells->SelectedRows(), std::vector<int>{1});
    }

    // Beside the active book: right, else left, else over its lower part; never
    // over the menu bar or the book's tool bar. A place the user chose stays.
    void opensBesideTheActiveBook_data() {
        QTest::addColumn<int>("bookLeft");
        QTest::addColumn<QString>("side");
        QTest::newRow("room on the right") << -200 << "right";
        QTest::newRow("room on the left") << 460 << "left";
        QTest::newRow("room on neither side") << 150 << "over";
    }
    void opensBesideTheActiveBook() {
        QFETCH(int, bookLeft);
        QFETCH(QString, side);
        StartWithList();
        const TfrmSpellBook& book = OpenBook();
        book.parentWidget()->move(bookLeft, 0);
        h->Frame().mnuViewMasterListClick();
        const QRect master = Master().frameGeometry();
        auto onScreen = [](const QWidget* w) { return QRect(w->mapToGlobal(QPoint()), w->size()); };
        const QRect shown = onScreen(book.parentWidget());
        QVERIFY(Master().screen()->availableGeometry().contains(master));
        QVERIFY(!master.intersects(onScreen(h->Frame().menuBar())));
        QVERIFY(!master.intersects(onScreen(book.tbSpellBook)));
        const bool right = master.left() > shown.right(), left = master.right() < shown.left();
        QCOMPARE(right ? "right" : left ? "left" : "over", side);

        Master().hide();
        Master().move(master.topLeft() + QPoint(0, 10));
        h->Frame().mnuViewMasterListClick();
        QCOMPARE(Master().pos(), master.topLeft() + QPoint(0, 10));
    }

    // Named as edited, over the edit; "At Higher Levels" as tall as its text.
    void detailsNameTheSpellAndFitTheirText() {
        StartWithList(Texts);
        Master().setGeometry(125, 60, 550, 480); // room all round
        SelectRows(Master().lbSpells, {0});
        h->prompter.Exec<TfrmSpellEdit>(
            [&](auto& edit) {
                edit.ebName->setText("Alarm II");
                h->prompter.Exec<TfrmSpellDetails>(
                    [&](auto& details) {
                        QCOMPARE(details.windowTitle(), "Spell Details - Alarm II");
                        const QPoint centre = edit.geometry().center();
                        QVERIFY((details.geometry().center() - centre).manhattanLength() <= 2);
                        const int empty = details.memHigherLevels->height();
                        QVERIFY(empty < details.memDescription->height() / 2);
                        details.memHigherLevels->setPlainText("1\n2\n3\n4");
                        QVERIFY(details.memHigherLevels->height() > empty);
                    },
                    false);
                edit.bnDetails->click();
            },
            false);
        Master().mnuEditSpellClick();
    }

    // The filter field's hint is never cut: a narrower field shows a shorter one.
    void filterHintFits() {
        StartWithList();
        Master().show();
        const QLineEdit& field = *Master().pnlFilter->edFilter;
        for (int width : {700, 440, 360}) {
            Master().resize(width, 480);
            QTRY_COMPARE(Master().width(), width);
            const int room = field.findChild<QToolButton*>()->x(); // up to the clear button
            QVERIFY(field.fontMetrics().horizontalAdvance(field.placeholderText()) < room);
            QCOMPARE(field.placeholderText() == field.accessibleDescription(), width == 700);
        }
    }

    // The spell edit dialog opens over the window whose spell it edits.
    void spellEditOpensOverTheWindow() {
        StartWithList();
        Master().setGeometry(300, 200, 420, 320);
        Master().show();
        SelectRows(Master().lbSpells, {0});
        QPoint dialogCentre, masterCentre;
        h->prompter.Exec(
            [&](QDialog& dialog) {
                dialogCentre = dialog.geometry().center();
                masterCentre = Master().mapToGlobal(Master().rect().center());
            },
            false);
        Master().mnuEditSpellClick();
        QVERIFY2((dialogCentre - masterCentre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("dialog at %1,%2, window at %3,%4")
                                .arg(dialogCentre.x())
                                .arg(dialogCentre.y())
                                .arg(masterCentre.x())
                                .arg(masterCentre.y())));
    }

    void editToAnotherSpellsLevelAndNameIsRefused() {
        StartWithList();
        SelectRows(Master().lbSpells, {0});
        h->prompter.Exec<TfrmSpellEdit>(
            [](auto& edit) {
                edit.ebName->setText("BURNING HANDS"); // names match without regard to case
                edit.ebPage->setText("50");
            },
            true);
        h->prompter.Message(Answer::Ok);
        Master().mnuEditSpellClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("A spell of level 1 named \"BURNING HANDS\" already exists.\r\n"
                                "The spell was not changed."));
        QCOMPARE(Names(List()).front(), std::string("Alarm"));
        QCOMPARE(List().Count(), 8);
        QCOMPARE(List().SpellAt(1, 1)->Page, 2);
        QVERIFY(!List().Modified);

        // Changing only the case of its own name is an ordinary edit.
        h->prompter.Exec<TfrmSpellEdit>([](auto& edit) { edit.ebName->setText("ALARM"); }, true);
        Master().mnuEditSpellClick();
        QCOMPARE(Names(List()).front(), std::string("ALARM"));
        QVERIFY(List().Modified);
    }

    void addingALevelAndNameAlreadyHeld() {
        StartWithList();
        h->prompter.Exec<TfrmSpellEdit>(
            [](auto& edit) {
                TypeSpell(edit, {3, "fireball", "X", "1", "e", 0});
            },
            true);
        h->prompter.Message(Answer::Ok).Message(Answer::No);
        Master().mnuAddNewSpellClick();
        QCOMPARE(h->prompter.Records()[1].kind, BoxKind::Error);
        QCOMPARE(h->prompter.Records()[1].text,
                 QStringLiteral("A spell of level 3 named \"Fireball\" already exists.\r\n"
                                "The spell was not added."));
        // Nothing was added: the question does not say so.
        QCOMPARE(h->prompter.Records()[2].kind, BoxKind::Confirmation);
        QCOMPARE(h->prompter.Records()[2].text, QStringLiteral("Would you like to add another?"));
        QCOMPARE(List().Count(), 8);
        QCOMPARE(List().SpellAt(3, 1)->Book, std::string("SRD"));
        QVERIFY(!List().Modified);
    }

    void helpKeyOpensItsTopic() {
        h->home.CopyResource("Vellumar.HLP", h->home.Home());
        StartWithList();
        QTest::keyClick(Master().lbSpells, Qt::Key_F1);
        QCOMPARE(h->Context().Help().CurrentTopic(), 800);
    }
};

QTEST_MAIN(MasterListWindowTest)
#include "master_list_window_test.moc"
