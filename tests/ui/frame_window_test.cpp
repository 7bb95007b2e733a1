// The frame: new and opened spellbook windows, arrangement, settings dialogs,
// menus and the shutdown order.

#include "files/safe_write.h"
#include "files/spell_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/text_conversion.h"
#include "rules/odds.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "support/spell_lists.h"
#include "ui/about_box.h"
#include "ui/book_parm_dialog.h"
#include "ui/data_directory_dialog.h"
#include "ui/frame_window.h"
#include "ui/frequency_odds_dialog.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"
#include "ui/working_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

using namespace vellumar;
using namespace vellumar::test;

namespace {

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions()) titles << action->text();
    return titles;
}

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

// Chooses the dialog's values the way a user clicks them.
std::function<void(TfrmBookParm&)> Choose(int level, int intelligence, int specialtyRow,
                                          int frequencyRow) {
    return [=](TfrmBookParm& parm) {
        parm.grpCasterLevel->button(level - 1)->click();
        parm.grpCasterIntelligence->button(intelligence - 9)->click();
        parm.lbSpecialty->setCurrentRow(specialtyRow);
        parm.lbSpellFrequency->setCurrentRow(frequencyRow);
    };
}

QAction* ItemNamed(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

const QByteArray MagicMissile = "1,\"Magic Missile\",\"SRD 5.1\",0,\"C\",\"i/e\"";
const QByteArray Sleep = "1,\"Sleep\",\"SRD 5.1\",0,\"U\",\"e/c\"";
const QByteArray Fireball = "3,\"Fireball\",\"SRD 5.1\",0,\"C\",\"i/e\"";
// A Diviner's book that holds Sleep, for the tests that only open books.
const QByteArray SleepBook = SpellbookV4(3, 10, "Diviner", 'C', {Sleep});

} // namespace

class FrameWindowTest : public HarnessTest {
    Q_OBJECT

    // A new book, its parameters dialog accepted as it stands.
    TfrmSpellBook* NewDefaultBook() {
        h->prompter.Exec({}, true);
        h->Frame().NewChild();
        return h->ActiveSpellBook();
    }

private slots:
    void menusToolBarAndCaption() {
        h->Start();
        TfrmMain& frame = h->Frame();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Vellumar 95"));
        QVERIFY(frame.isMaximized());
        QCOMPARE(MenuTitles(frame.menuBar()),
                 (QStringList{"&File", "&Options", "&Window", "&Help"}));
        QCOMPARE(ItemTexts(MenuNamed(frame.menuBar(), "&File")),
                 (QStringList{"&New\tF4", Keyed("&Open", QKeySequence::Open), "-",
                              "Printer Setup...", "-", Keyed("E&xit", QKeySequence::Quit)}));
        QCOMPARE(ItemTexts(MenuNamed(frame.menuBar(), "&Options")),
                 (QStringList{"Set Master &File...", "&View Master List...", "-",
                              "Set &Data Directory...", "Set Spell Selection &Odds...",
                              "Set Specialties...", "-", "&Keep Recovery Files",
                              "&Reopen Books at Start"}));
        QCOMPARE(ItemTexts(frame.ClientPopup()),
                 (QStringList{"New Spellbook...", "Open Spellbook...", "-", "View Master List",
                              "Set Master File...", "-", "Set Data Directory...",
                              "Set Spell Selection Odds...", "Set Specialties..."}));
        QCOMPARE(ItemTexts(MenuNamed(frame.menuBar(), "&Help")),
                 (QStringList{"&Contents", "-", "&About"}));
        QVERIFY(frame.tbMain()->isVisible());
        QStringList hints;
        for (QAction* action : frame.tbMain()->actions()) hints << action->toolTip();
        QCOMPARE(hints, (QStringList{"New Spellbook", "Open Spellbook"}));
    }

    void newSpellbookTakesTheDialogsChoices() {
        h->UseSampleMasterList();
        h->Start();
        // Level 30, Intelligence 21, "Necromancer" (row 7 after "Generalist"), "Rare".
        h->prompter.Exec<TfrmBookParm>(Choose(30, 21, 7, 2), true);
        h->Frame().NewChild();
        TfrmSpellBook* window = h->ActiveSpellBook();
        QVERIFY(window);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("New Spellbook Parameters"));
        const TSpellBook& book = window->Book();
        QCOMPARE(book.CasterLevel, 30);
        QCOMPARE(book.Intelligence, 21);
        QCOMPARE(book.Specialty, std::string("Necromancer"));
        QCOMPARE(book.SpellFrequency, -2);
        QCOMPARE(window->spnWizardLevel->value(), 30);
        QCOMPARE(window->spnWizardLevel->text(), QStringLiteral("30"));
        QCOMPARE(window->spnWizardIntelligence->value(), 21);
        QCOMPARE(window->cbWizardSpecialty->currentIndex(), 7);
        QCOMPARE(window->cbWizardSpecialty->currentText(), QStringLiteral("Necromancer"));
        QCOMPARE(window->cbSpellFrequency->currentIndex(), 2);
        QVERIFY(book.Modified);
        QCOMPARE(window->Caption(), QStringLiteral("untitled"));
        QVERIFY(window->isWindowModified());
        QVERIFY(book.Count() > 0);
        QCOMPARE(window->lbSpells->count(), book.LevelCount[1]);
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Filling Spellbook"));
        QVERIFY(h->Context().Working().LastShown().painted);
        QVERIFY(!h->Context().Working().isVisible());

        // The book's menus merge in; the frame's tool bar gives way to the window's.
        QCOMPARE(MenuTitles(h->Frame().menuBar()),
                 (QStringList{"&File", "&Edit", "&Options", "&Window", "&Help"}));
        QCOMPARE(MenuNamed(h->Frame().menuBar(), "&File"), window->FileMenu());
        QVERIFY(!h->Frame().tbMain()->isVisible());

        // The choices are still there the next time; Cancel makes nothing.
        h->prompter.Exec<TfrmBookParm>(
            [](auto& parm) {
                QCOMPARE(parm.CasterLevel(), 30);
                QCOMPARE(parm.Intelligence(), 21);
                QCOMPARE(parm.Specialty(), QStringLiteral("Necromancer"));
                QCOMPARE(parm.SpellFrequency(), -2);
            },
            false);
        h->Frame().NewChild();
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));
    }

    // A new book gets the specialty chosen by name, also where the dialog's
    // list and the window's list no longer stand in the same order.
    void newBookGetsTheChosenSpecialty_data() {
        QTest::addColumn<bool>("throughMaintenance"); // else behind the dialog's back
        QTest::newRow("deleted and saved in maintenance") << true;
        QTest::newRow("table changed after the dialog was filled") << false;
    }
    void newBookGetsTheChosenSpecialty() {
        QFETCH(bool, throughMaintenance);
        h->Start();
        tSpecialtyList& table = h->Context().SpecialtyTable();
        if (throughMaintenance) {
            h->prompter
                .Exec<TfrmSpecialtyMaintenance>(
                    [](auto& window) {
                        window.cbSpecialty->setCurrentIndex(
                            window.cbSpecialty->findText(QStringLiteral("Abjurer")));
                        window.mnuDeleteSpecialty->trigger();
                        window.mnuSaveChanges->trigger();
                    },
                    true)
                .Message(Answer::Ok);
            h->Frame().mnuSetSpecialtiesClick();
            QVERIFY(!table.Modified);
        } else {
            QVERIFY(table.FindByName("Abjurer"));
            table.DeleteCurrent();
        }
        QVERIFY(!table.FindByName("Abjurer"));

        h->prompter.Exec<TfrmBookParm>(
            [throughMaintenance](auto& parm) {
                QCOMPARE(parm.lbSpecialty->findItems("Abjurer", Qt::MatchExactly).isEmpty(),
                         throughMaintenance);
                const QList<QListWidgetItem*> rows =
                    parm.lbSpecialty->findItems("Enchanter", Qt::MatchExactly);
                QCOMPARE(rows.size(), 1);
                parm.lbSpecialty->setCurrentItem(rows[0]);
            },
            true);
        h->Frame().NewChild();
        TfrmSpellBook* window = h->ActiveSpellBook();
        QVERIFY(window);
        QCOMPARE(window->cbWizardSpecialty->currentText(), QStringLiteral("Enchanter"));
        QCOMPARE(window->cbWizardSpecialty->currentIndex(),
                 window->cbWizardSpecialty->findText(QStringLiteral("Enchanter")));
        QCOMPARE(window->Book().Specialty, std::string("Enchanter"));
    }

    void untouchedDialogGivesAGeneralistBook() {
        h->Start();
        TfrmSpellBook* window = NewDefaultBook();
        QVERIFY(window);
        QCOMPARE(window->Book().CasterLevel, 1);
        QCOMPARE(window->Book().Intelligence, 9);
        QCOMPARE(window->Book().Specialty, std::string("Generalist"));
        QCOMPARE(window->Book().SpellFrequency, 0);
        // No master list could be read: the book is empty and still modified.
        QCOMPARE(window->Book().Count(), 0);
        QVERIFY(window->Book().Modified);
    }

    void dialogLabelsFitDejaVuSans() { // a font wider than the labels were drawn for
        const QFont before = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
        h->Start();
        h->Context().BookParm().show();
        for (const QLabel* label : h->Context().BookParm().findChildren<QLabel*>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                     qPrintable(label->text()));
        QApplication::setFont(before);
    }

    void openReadsEveryVersion_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("casterLevel");
        QTest::addColumn<int>("intelligence");
        QTest::addColumn<QString>("specialty");
        QTest::addColumn<int>("frequencyRow");
        QTest::addColumn<int>("level1Spells");
        QTest::addColumn<QString>("warning"); // the box after opening, if any
        QTest::newRow("version 4") << SpellbookV4(30, 21, "Invoker", 'V', {MagicMissile, Sleep})
                                   << 30 << 21 << "Invoker" << 3 << 2 << "";
        QTest::newRow("version 3") << QByteArray("3\r\n5\r\n12\r\n2\r\nR\r\n" + Sleep + "\r\n \r\n")
                                   << 5 << 12 << "Conjurer" << 2 << 1 << "";
        QTest::newRow("no header") << QByteArray(MagicMissile + "\r\n" + Fireball + "\r\n \r\n")
                                   << 5 << 9 << "" << 0 << 1 << "";
        // Named in a box, then held to the fields' limits as any book put into a window.
        QTest::newRow("outside the tables")
            << SpellbookV4(40, 25, "Invoker", 'C', {Sleep}) << 30 << 21 << "Invoker" << 0 << 1
            << "line 2: caster level 40 is not from 1 to 30\nline 3: Intelligence 25 is not from 9 "
               "to 21\n";
    }
    void openReadsEveryVersion() {
        QFETCH(QByteArray, content);
        QFETCH(QString, warning);
        h->Start();
        const QString path = h->home.Write(h->home.Working() + "book.spb", content);
        h->prompter.OpenFile(path);
        if (!warning.isEmpty()) h->prompter.Message(Answer::Ok);
        h->Frame().mnuOpenSpellbookClick();
        if (!warning.isEmpty()) {
            QCOMPARE(h->prompter.Last().kind, BoxKind::Warning);
            QVERIFY2(h->prompter.Last().informative.startsWith(warning),
                     qPrintable(h->prompter.Last().informative));
        }
        const auto& records = h->prompter.Records();
        const PromptRecord& dialog = records[records.size() - (warning.isEmpty() ? 1 : 2)];
        QCOMPARE(dialog.request.title, QStringLiteral("Open Spellbook"));
        QCOMPARE(dialog.request.filter,
                 QStringLiteral("*.SPB (Spellbook Files)|*.SPB|*.* (All Files)|*.*"));
        QCOMPARE(dialog.request.defaultSuffix, QStringLiteral("spb"));
        QVERIFY(dialog.request.mustExist);
        QCOMPARE(dialog.request.directory, h->home.Home());

        TfrmSpellBook* window = h->ActiveSpellBook();
        QVERIFY(window);
        QTEST(window->Book().CasterLevel, "casterLevel");
        QTEST(window->spnWizardLevel->TypedValue(0), "casterLevel");
        QTEST(window->spnWizardIntelligence->TypedValue(0), "intelligence");
        // Leaving the fields changes nothing that the user did not change.
        for (QWidget* field : {window->spnWizardLevel, window->spnWizardIntelligence}) {
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(field, &leave);
        }
        QTEST(window->Book().CasterLevel, "casterLevel");
        QTEST(window->Book().Intelligence, "intelligence");
        QTEST(window->spnWizardLevel->text().toInt(), "casterLevel");
        QTEST(window->cbWizardSpecialty->currentText(), "specialty");
        QTEST(window->cbSpellFrequency->currentIndex(), "frequencyRow");
        QTEST(window->lbSpells->count(), "level1Spells");
        QCOMPARE(window->SpellLevel(), 1);
        QVERIFY(!window->Book().Modified);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(window->Caption(), path);
        QCOMPARE(window->windowTitle(), path + QStringLiteral("[*]"));
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Loading Spellbook"));
    }

    void openNamesTheLinesLeftOutInOneBox() {
        h->Start();
        const QString path = h->home.Write(
            h->home.Working() + "skips.spb",
            SpellbookV4(5, 12, "Invoker", 'C', {Sleep, "0,\"Cantrip\"", "1,\"SLEEP\""}));
        h->prompter.OpenFile(path).Message(Answer::Ok);
        h->Frame().mnuOpenSpellbookClick();
        QCOMPARE(h->prompter.Records().size(), size_t(2)); // the dialog, then one box
        const PromptRecord& box = h->prompter.Last();
        QCOMPARE(box.kind, BoxKind::Warning);
        QVERIFY2(box.text.startsWith(QStringLiteral("2 lines")) && box.text.endsWith(path),
                 qPrintable(box.text));
        QVERIFY2(box.informative.startsWith(QStringLiteral("line 7: spell level 0")),
                 qPrintable(box.informative));
        QCOMPARE(h->ActiveSpellBook()->lbSpells->count(), 1);
    }

    void failedOpenLeavesNoWindowAndMovesTheStartFolder() {
        h->Start();
        QDir(h->home.Working()).mkpath("books");
        const QString path = h->home.Write(h->home.Working() + "books/bad.spb", "5\r\nnothing\r\n");
        h->prompter.OpenFile(path).Message(Answer::Ok);
        h->Frame().mnuOpenSpellbookClick();
        const PromptRecord& box = h->prompter.Records().back();
        QCOMPARE(box.kind, BoxKind::Error);
        QCOMPARE(box.buttons, BoxButtons::Ok);
        QCOMPARE(box.text, QStringLiteral("Error Reading Spellbook File"));
        // With several books named at start-up, the details tell which one failed, and why.
        QVERIFY2(box.informative.startsWith(path + QLatin1Char('\n')), qPrintable(box.informative));
        QVERIFY2(box.informative.contains(QStringLiteral("version 5")),
                 qPrintable(box.informative));
        QVERIFY(h->SpellBookWindows().empty());
        QVERIFY(h->Frame().mdiArea()->subWindowList().isEmpty());
        QVERIFY(!h->Context().Working().isVisible());

        h->prompter.OpenFile({});
        h->Frame().mnuOpenSpellbookClick();
        QCOMPARE(h->prompter.Last().request.directory, h->home.Working() + "books/");
        // The run's starting folder is not a setting.
        QCOMPARE(h->Context().Settings().File().ReadString("Vellumar", "DataDirectory", "none"),
                 std::string("none"));
    }

    // The desktop's standard keys answer beside the program's own, and only
    // in the active window's menus, however many windows are open.
    void standardKeysAreSecondShortcuts() {
        const QList<QKeySequence> newKeys = QKeySequence::keyBindings(QKeySequence::New);
        if (newKeys.isEmpty()) QSKIP("The platform has no standard New key");
        h->Start();
        h->Frame().show();
        auto press = [this](const QKeySequence& key) {
            QApplication::setActiveWindow(&h->Frame());
            QTRY_VERIFY(h->Frame().isActiveWindow());
            h->prompter.Exec({}, true);
            QTest::keySequence(h->Frame().windowHandle(), key);
        };
        QAction* frameNew = ItemNamed(MenuNamed(h->Frame().menuBar(), "&File"), "&New");
        QVERIFY(frameNew);
        QCOMPARE(frameNew->shortcuts().first(), QKeySequence(Qt::Key_F4));
        for (int expected = 1; expected <= 3; ++expected) {
            press(newKeys.first());
            QTRY_COMPARE(h->SpellBookWindows().size(), size_t(expected));
        }
        // The program's own key still works with several windows open.
        press(QKeySequence(Qt::Key_F4));
        QTRY_COMPARE(h->SpellBookWindows().size(), size_t(4));
        TfrmSpellBook* active = h->ActiveSpellBook();
        QVERIFY(active);
        for (QAction* action : active->FileMenu()->actions()) {
            if (action->text() == "&Save") {
                QCOMPARE(action->shortcuts().first(), QKeySequence(Qt::Key_F2));
                for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Save))
                    QVERIFY(action->shortcuts().contains(key));
            }
        }
        // Ctrl+W closes the active book: the frame's system menu of the window
        // does not hold it too (the key would do nothing).
        QApplication::setActiveWindow(&h->Frame());
        QTRY_VERIFY(h->Frame().isActiveWindow());
        h->prompter.Message(Answer::No);
        QTest::keySequence(h->Frame().windowHandle(), QKeySequence(Qt::CTRL | Qt::Key_W));
        QTRY_COMPARE(h->SpellBookWindows().size(), size_t(3));
    }

    // Books opened or saved are listed in File, newest first; a listed book
    // that is gone gives the read error and leaves the list.
    void recentBooksInTheFileMenu() {
        h->Start();
        const QString first = h->home.Write("first.spb", SleepBook);
        const QString second = h->home.Write("second & co.spb", SleepBook);
        QVERIFY(h->Frame().OpenSpellbookFile(first));
        QVERIFY(h->Frame().OpenSpellbookFile(second));
        auto recent = [this] {
            QMenu* file = h->ActiveSpellBook() ? h->ActiveSpellBook()->FileMenu()
                                               : MenuNamed(h->Frame().menuBar(), "&File");
            emit file->aboutToShow();
            QList<QAction*> items;
            for (QAction* action : file->actions())
                if (!action->isSeparator() && action->text().startsWith(QLatin1Char('&')) &&
                    action->text().at(1).isDigit())
                    items << action;
            return items;
        };
        QList<QAction*> items = recent();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), "&1 " + QString(second).replace("&", "&&"));
        QCOMPARE(items[1]->text(), "&2 " + first);
        QCOMPARE(h->Context().Settings().File().ReadString("Recent", "File1", ""), ToPath(second));

        // A save puts the saved book first.
        const QString saved = h->home.Working() + "saved.spb";
        h->prompter.SaveFile(saved);
        h->ActiveSpellBook()->mnuSaveAsClick();
        QVERIFY(QFileInfo::exists(saved));
        items = recent();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0]->text(), "&1 " + saved);

        // Choosing a book opens it in a new window.
        items[2]->trigger();
        QCOMPARE(h->SpellBookWindows().size(), size_t(3));
        QCOMPARE(h->ActiveSpellBook()->Caption(), first);

        QVERIFY(QFile::remove(first));
        h->prompter.Message(Answer::Ok);
        recent()[0]->trigger(); // the book just opened heads the list
        QCOMPARE(h->prompter.Records().back().text, QStringLiteral("Error Reading Spellbook File"));
        QCOMPARE(h->SpellBookWindows().size(), size_t(3));
        items = recent();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), "&1 " + saved);
    }

    // A settings file that cannot be written costs one box in a run, not one
    // at every Open.
    void recentBooksReportTheFirstFailedWriteOnly() {
        h->Start();
        const QString first = h->home.Write("first.spb", SleepBook);
        const QString second = h->home.Write("second.spb", SleepBook);
        h->prompter.Message(Answer::Ok);
        SetWriteFailureAfterBytesForTesting(0);
        const bool opened =
            h->Frame().OpenSpellbookFile(first) && h->Frame().OpenSpellbookFile(second);
        SetWriteFailureAfterBytesForTesting(-1);
        QVERIFY(opened);
        QCOMPARE(h->prompter.Records().size(), size_t(1));
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Error Writing Settings File\r\n") +
                                              FromPath(h->Context().Settings().Path()));
        QVERIFY(!h->prompter.Last().informative.isEmpty());
    }

    // Files dropped from a file manager: spellbooks and exported lists open
    // as Open opens them; a file that cannot be read gets the read error box.
    void droppedFilesOpenAsOpenDoes() {
        h->Start();
        QDir(h->home.Working()).mkpath("dropped");
        const QString book = h->home.Write(h->home.Working() + "dropped/a.spb", SleepBook);
        const QString list =
            h->home.Write(h->home.Working() + "dropped/b.dat", QByteArray(Sleep) + "\r\n \r\n");
        const QString bad = h->home.Write(h->home.Working() + "dropped/c.txt", "5\r\nx\r\n");

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(book), QUrl::fromLocalFile(list),
                      QUrl::fromLocalFile(bad), QUrl(QStringLiteral("https://example.org/d.spb"))});
        QCOMPARE(TfrmMain::DroppedFiles(&data), (QStringList{book, list, bad}));
        QMimeData text;
        text.setText(QStringLiteral("Sleep"));
        QVERIFY(TfrmMain::DroppedFiles(&text).isEmpty());

        // The frame takes a drag of files and refuses one of text alone.
        const QPoint inside = h->Frame().rect().center();
        QDragEnterEvent refused(inside, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&h->Frame(), &refused);
        QVERIFY(!refused.isAccepted());
        QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&h->Frame(), &enter);
        QVERIFY(enter.isAccepted());

        h->prompter.Message(Answer::Ok);
        QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&h->Frame(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(h->SpellBookWindows().size(), size_t(2));
        const auto windows = h->SpellBookWindows();
        QCOMPARE(windows[0]->Caption(), book);
        QCOMPARE(windows[1]->Caption(), list);
        QCOMPARE(windows[1]->Book().Count(), 1);
        QTRY_COMPARE(h->prompter.Last().text, QStringLiteral("Error Reading Spellbook File"));
        QVERIFY(h->prompter.Last().informative.startsWith(bad));
        // As after Open, the next Open starts where the dropped files were.
        h->prompter.OpenFile({});
        h->Frame().mnuOpenSpellbookClick();
        QCOMPARE(h->prompter.Last().request.directory, h->home.Working() + "dropped/");
    }

    void openingTheSameFileTwiceGivesTwoWindows() {
        h->Start();
        const QString path = h->home.Write("twice.spb", SleepBook);
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        const auto windows = h->SpellBookWindows();
        QCOMPARE(windows.size(), size_t(2));
        QCOMPARE(windows[0]->Caption(), windows[1]->Caption());
        QVERIFY(&windows[0]->Book() != &windows[1]->Book());
    }

    void arrangeCascadesAndSizes() {
        h->Start();
        h->Frame().mnuArrangeClick(); // nothing to arrange
        for (int i = 0; i < 3; ++i) NewDefaultBook();
        h->Frame().mnuArrangeClick();
        QList<QPoint> positions;
        for (QMdiSubWindow* sub : h->Frame().mdiArea()->subWindowList()) {
            // 480 by 540, unless that would cut off the window's tool bar.
            QCOMPARE(sub->height(), 540);
            QCOMPARE(sub->width(), std::max(480, sub->minimumSizeHint().width()));
            auto* window = qobject_cast<TfrmSpellBook*>(sub->widget());
            QVERIFY(window);
            QCoreApplication::processEvents(); // the window lays itself out
            QAction* print = window->tbSpellBook->findChild<QAction*>("bnPrint");
            QWidget* button = window->tbSpellBook->widgetForAction(print);
            QVERIFY(button && button->isVisible());
            const int printRight = button->mapTo(window, QPoint(button->width(), 0)).x();
            QVERIFY2(printRight <= window->width(),
                     qPrintable(QStringLiteral("%1 > %2").arg(printRight).arg(window->width())));
            QVERIFY(GeometryIn(window->lbSpells, window).right() < window->width());
            QVERIFY(window->cbSpellFrequency->geometry().right() < window->width());
            QVERIFY(!positions.contains(sub->pos()));
            positions << sub->pos();
        }
        QCOMPARE(positions.size(), 3);
    }

    // A new book opens inside the client area, 550 wide while that fits.
    void newBooksOpenInsideTheClientArea() {
        h->Start();
        QVERIFY(QTest::qWaitForWindowExposed(&h->Frame()));
        const QWidget& area = *h->Frame().mdiArea()->viewport();
        for (int k = 0; k < 4; ++k) {
            const QWidget& sub = *h->Frame().CreateSpellBookWindow()->Widget().parentWidget();
            QVERIFY(area.rect().contains(sub.geometry()));
            QCOMPARE(sub.width(), std::min(550, area.width()));
        }
    }

    void windowMenuListsTheBooks() {
        h->Start();
        const QString path = h->home.Write("R&D.spb", SpellbookV4(3, 10, "Diviner", 'C', {}));
        h->Frame().OpenSpellbookFile(path);
        NewDefaultBook();
        QMenu* menu = MenuNamed(h->Frame().menuBar(), "&Window");
        emit menu->aboutToShow();
        QCOMPARE(ItemTexts(menu),
                 (QStringList{"&Arrange", "-", QString(path).replace("&", "&&"), "untitled"}));
        menu->actions()[2]->trigger();
        QCOMPARE(h->ActiveSpellBook()->Caption(), path);
    }

    void shutdownAsksEveryBookThenTheMasterList() {
        h->UseSampleMasterList();
        h->Start();
        // A changed master list asks its own question at shutdown.
        TfrmMasterList& master = *h->Context().MasterListWindow();
        master.lbSpells->setCurrentIndex(master.lbSpells->model()->index(0, 0));
        master.mnuDeleteSpellClick();
        const QString masterQuestion =
            QStringLiteral("Master Spell List has been changed and has "
                           "\r\nnot been saved. Do you wish to save it now?");
        const auto masterAsked = [&] {
            return std::count_if(h->prompter.Records().begin(), h->prompter.Records().end(),
                                 [&](const auto& record) { return record.text == masterQuestion; });
        };
        for (int i = 0; i < 2; ++i) NewDefaultBook();
        // Cancel at the first book ends the shutdown before anything else is asked.
        h->prompter.Message(Answer::Cancel);
        QVERIFY(!h->Frame().close());
        QCOMPARE(h->prompter.Records().back().text,
                 QStringLiteral(
                     "Spellbook:\r\nuntitled\r\nhas not been saved. Do you wish to save it now?"));
        QCOMPARE(masterAsked(), 0);
        QVERIFY(h->Frame().isVisible());

        // No for both books, then the master list refuses: the program stays.
        h->prompter.Message(Answer::No).Message(Answer::No).Message(Answer::Cancel);
        QVERIFY(!h->Frame().close());
        QCOMPARE(masterAsked(), 1);
        QCOMPARE(h->SpellBookWindows().size(), size_t(2));

        h->prompter.Message(Answer::No).Message(Answer::No).Message(Answer::No);
        QVERIFY(h->Frame().close());
        QCOMPARE(masterAsked(), 2);
    }

    void lastClosedBookBringsBackTheToolBar() {
        h->Start();
        TfrmSpellBook* window = NewDefaultBook();
        window->SetModified(false);
        window->mnuCloseClick();
        QTRY_VERIFY(h->SpellBookWindows().empty());
        QVERIFY(h->Frame().tbMain()->isVisible());
        QCOMPARE(MenuTitles(h->Frame().menuBar()),
                 (QStringList{"&File", "&Options", "&Window", "&Help"}));
    }

    void setDataDirectoryWritesTheChosenFolder() {
        h->Start();
        QDir(h->home.Working()).mkpath("data/books");
        const QString chosen = h->home.Working() + "data/books";
        h->prompter.Exec<TfrmDataDirectory>(
            [&](TfrmDataDirectory& folders) {
                QCOMPARE(folders.windowTitle(), QStringLiteral("Data Directory"));
                // No setting yet: the dialog opens at the program's folder.
                QCOMPARE(folders.SelectedFolder(), h->home.Home());
                QVERIFY(folders.bnOK->hasFocus() || folders.focusWidget() == folders.bnOK);
                QVERIFY(folders.findChild<QLabel*>() != nullptr);
                folders.SelectFolder(chosen);
            },
            true);
        h->Frame().mnuDataDirectoriesClick();
        QCOMPARE(h->Context().Settings().File().ReadString("Vellumar", "DataDirectory", ""),
                 (chosen + "/").toStdString());
        QCOMPARE(h->Frame().DataDirectory(), chosen + "/");

        // Cancel changes nothing; the dialog opens at the setting.
        h->prompter.Exec<TfrmDataDirectory>(
            [&](auto& folders) {
                QCOMPARE(folders.SelectedFolder(), chosen + "/");
                folders.SelectFolder(h->home.Working());
            },
            false);
        h->Frame().mnuDataDirectoriesClick();
        QCOMPARE(h->Frame().DataDirectory(), chosen + "/");
    }

    void dataDirectoryThatIsGoneOpensAtTheProgramFolder() {
        h->home.Write("Vellumar.INI", "[Vellumar]\r\nDataDirectory=/no/such/folder/\r\n");
        h->Start();
        QCOMPARE(h->Frame().DataDirectory(), QStringLiteral("/no/such/folder/"));
        h->prompter.Exec<TfrmDataDirectory>(
            [&](auto& folders) { QCOMPARE(folders.SelectedFolder(), h->home.Home()); }, false);
        h->Frame().mnuDataDirectoriesClick();
    }

    // A hand-written value past the dialog's range would make each draw spin.
    void oddsFromTheSettingsAreHeldToTheDialogsRange() {
        h->home.Write("Vellumar.INI", "[SpellFrequencyOdds]\r\nRestricted=2147483647\r\n"
                                      "Very Rare=-5\r\nRare=0\r\nUncommon=0x7FFF\r\n"
                                      "Common=40000\r\n");
        h->Start();
        const std::array<int32_t, 5> read = h->Context().Odds();
        QCOMPARE(read, (std::array<int32_t, 5>{32767, 1, 1, 32767, 32767}));
    }

    void oddsItemShowsTheOddsDialog() {
        h->home.CopyResource("Vellumar.HLP", h->home.Home());
        h->Start();
        h->prompter.Exec(
            [this](QDialog& dialog) {
                auto& odds = dynamic_cast<TfrmFrequencyOdds&>(dialog);
                const QPoint centre = h->Frame().frameGeometry().center(); // centred on it
                QVERIFY((odds.frameGeometry().center() - centre).manhattanLength() <= 2);
                QTest::keyClick(&odds, Qt::Key_F1);
                odds.spnOdds->findChild<QLineEdit*>()->setText("3"); // Common
                odds.bnOK->click();
            },
            true);
        ItemNamed(MenuNamed(h->Frame().menuBar(), "&Options"), "Set Spell Selection &Odds...")
            ->trigger();
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Spell Frequency Odds"));
        QCOMPARE(h->Context().Help().CurrentTopic(), 600);
        QCOMPARE(h->Context().Odds()[4], 3);
        QCOMPARE(h->Context().Settings().File().ReadInteger("SpellFrequencyOdds", "Common", 0), 3);
        QCOMPARE(h->Context().Settings().File().ReadInteger("SpellFrequencyOdds", "Very Rare", 0),
                 20);

        // The popup's twin shows it too.
        h->prompter.Exec({}, false);
        ItemNamed(h->Frame().ClientPopup(), "Set Spell Selection Odds...")->trigger();
        QCOMPARE(h->prompter.Last().text, QStringLiteral("Spell Frequency Odds"));
    }

    void specialtiesItemShowsTheWindowAndRefillsTheChoices() {
        h->Start();
        TfrmSpellBook* window = NewDefaultBook();
        h->prompter.Exec(
            [this](QDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Specialty Maintenance"));
                QVERIFY(dynamic_cast<TfrmSpecialtyMaintenance*>(&dialog));
                tSpecialtyList& table = h->Context().SpecialtyTable();
                table.Append(std::make_unique<tSpecialty>("Pyromancer"));
                table.Modified = true;
            },
            true);
        h->prompter.Message(Answer::No); // keep the change unsaved
        ItemNamed(MenuNamed(h->Frame().menuBar(), "&Options"), "Set Specialties...")->trigger();
        QCOMPARE(window->cbWizardSpecialty->count(), 10);
        QCOMPARE(window->cbWizardSpecialty->itemText(9), QStringLiteral("Pyromancer"));
        QCOMPARE(window->cbWizardSpecialty->currentText(), QStringLiteral("Generalist"));
        QCOMPARE(h->Context().BookParm().lbSpecialty->count(), 10);
        QVERIFY(!QFile::exists(h->home.Home() + "Specialty.dat"));

        // The spellbook window's question answered Yes opens the same window.
        window->cbWizardSpecialty->setEditText("Geomancer");
        h->prompter.Message(Answer::Yes).Exec({}, true).Message(Answer::No);
        QVERIFY(LeaveSpecialtyBox(*window));
        QTRY_VERIFY(h->prompter.Idle());
        const auto& records = h->prompter.Records();
        QCOMPARE(records[records.size() - 2].text, QStringLiteral("Specialty Maintenance"));
        QCOMPARE(window->Book().Specialty, std::string("Geomancer"));
    }

    void masterListItems() {
        h->Start();
        TfrmMasterList* master = h->Context().MasterListWindow();
        QVERIFY(master && !master->isVisible());
        ItemNamed(MenuNamed(h->Frame().menuBar(), "&Options"), "&View Master List...")->trigger();
        QVERIFY(master->isVisible());
        master->hide();
        ItemNamed(h->Frame().ClientPopup(), "View Master List")->trigger();
        QVERIFY(master->isVisible());

        h->prompter.OpenFile({});
        ItemNamed(MenuNamed(h->Frame().menuBar(), "&Options"), "Set Master &File...")->trigger();
        QCOMPARE(h->prompter.Last().request.filter,
                 QStringLiteral(
                     "*.DAT (data files)|*.dat|*.SPB (spellbook files)|*.spb|*.* (all files)|*.*"));
        h->prompter.OpenFile({});
        ItemNamed(h->Frame().ClientPopup(), "Set Master File...")->trigger();
        QCOMPARE(h->prompter.Records().size(), size_t(2));

        // The program ends with the master list window open.
        QVERIFY(h->Frame().close());
        QVERIFY(!master->isVisible());
    }

    void printerSetupAndAboutBox() {
        h->Start();
        h->prompter.PrinterSetup(true);
        h->Frame().mnuPrinterSetupClick();
        h->prompter.Exec<TfrmAbout>(
            [](TfrmAbout& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("About Vellumar"));
                // Centred on the screen, at its final size.
                QCOMPARE(dialog.size(), dialog.sizeHint());
                const QPoint screenCentre =
                    QGuiApplication::primaryScreen()->availableGeometry().center();
                QVERIFY((dialog.geometry().center() - screenCentre).manhattanLength() <= 2);
                QStringList texts;
                for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
                QVERIFY(texts.contains("Vellumar 95"));
                QVERIFY(texts.contains("Version 4.1"));
                QVERIFY(texts.contains(SrdAttribution()));
                QVERIFY(SrdAttribution().contains("System Reference Document 5.1"));
                auto* ok = dialog.bnOK;
                QVERIFY(ok->isDefault());
                ok->click();
            },
            true);
        h->Frame().mnuAboutClick();
    }
};

QTEST_MAIN(FrameWindowTest)
#include "frame_window_test.moc"
