// The spellbook window: caster controls, the "# per day" figure, the specialty
// question, saving and the close question.

#include "files/safe_write.h"
#include "files/spell_file.h"
#include "model/spell_book.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "support/spell_lists.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"
#include "ui/working_box.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QToolBar>

using namespace vellumar;
using namespace vellumar::test;

namespace {

// Takes every mouse release before anyone else sees it, as a drag does.
class SwallowRelease : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::MouseButtonRelease;
    }
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SpellBookWindowTest : public HarnessTest {
    Q_OBJECT

    TfrmSpellBook& NewWindow() {
        h->prompter.Exec({}, true);
        h->Frame().NewChild();
        return *h->ActiveSpellBook();
    }

private slots:
    void init() {
        HarnessTest::init();
        h->UseSampleMasterList();
        h->Start();
    }

    void newWindowShowsTheDefaults() {
        // No master list: nothing to fill from.
        h->Context().MasterListWindow()->lbSpells->ShowNone();
        h->Context().SetMasterList(nullptr);
        TfrmSpellBook& window = NewWindow();
        QCOMPARE(window.SpellLevel(), 1);
        QCOMPARE(window.lbSpells->count(), 0);
        QCOMPARE(window.ebSpellsPerDay->text(), QStringLiteral("1"));
        QCOMPARE(window.cbWizardSpecialty->currentText(), QStringLiteral("Generalist"));
        QCOMPARE(window.cbSpellFrequency->currentText(), QStringLiteral("Common"));
        QCOMPARE(window.spnWizardLevel->minimum(), 1);
        QCOMPARE(window.spnWizardLevel->maximum(), 30);
        QCOMPARE(window.spnWizardIntelligence->minimum(), 9);
        QCOMPARE(window.spnWizardIntelligence->maximum(), 21);
        QCOMPARE(window.cbWizardSpecialty->count(), 9);
        QCOMPARE(window.cbSpellFrequency->count(), 5);
        QCOMPARE(window.cbSpellFrequency->itemText(4), QStringLiteral("Restricted"));
        QCOMPARE(window.parentWidget()->size(), QSize(550, 539));
        QCOMPARE(window.windowTitle(), QStringLiteral("untitled[*]"));
    }

    // No two Edit items share an access letter, so Alt and the letter always
    // reach one item. (File keeps its classic "Cli&pboard" beside "&Print".)
    void editAccessLettersAreUnique() {
        TfrmSpellBook& window = NewWindow();
        for (QMenu* menu : {window.EditMenu()}) {
            QStringList letters;
            for (QAction* action : menu->actions()) {
                const QString text = QString(action->text()).replace("&&", "");
                const qsizetype at = text.indexOf(QLatin1Char('&'));
                if (at < 0 || at + 1 >= text.size()) continue;
                const QString letter = text.mid(at + 1, 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(menu->title() + ": " + text));
                letters << letter;
            }
        }
    }

    void commandsAndToolBar() {
        TfrmSpellBook& window = NewWindow();
        QCOMPARE(ItemTexts(window.FileMenu()),
                 (QStringList{"&New\tF4", Keyed("&Open", QKeySequence::Open), "&Save\tF2",
                              Keyed("Save &As", QKeySequence::SaveAs), "&Close\tCtrl+F4", "-",
                              "&Import Spells", "&Export Spell", "-", "Copy to Cli&pboard",
                              "Printer Setup...", "&Print Preview/Format...",
                              Keyed("Prin&t", QKeySequence::Print), "Export as P&DF...", "-",
                              Keyed("E&xit", QKeySequence::Quit)}));
        QStringList hints;
        for (QAction* action : window.FileMenu()->actions()) hints << action->statusTip();
        QCOMPARE(hints.mid(9, 4),
                 (QStringList{"Copy Spellbook to Clipboard", "Select and Configure Printer",
                              "Preview & Format Output", "Print Spellbook"}));
        QCOMPARE(
            ItemTexts(window.EditMenu()),
            (QStringList{"&Fill Book", "&Validate Book", "&Clear Book", "-", "&Add Selected Spell",
                         "Add &Random Spell\tIns", "-", "&Delete Spell\tDel", "&Edit Spell Data",
                         "Create &New Spell", "-", "Create &Scroll", "-", "Spell &Text\tF9", "-",
                         Keyed("&Undo", QKeySequence::Undo), Keyed("Red&o", QKeySequence::Redo)}));
        QCOMPARE(ItemTexts(window.ContextMenu()),
                 (QStringList{"Save Spellbook", "Validate Spellbook", "Erase Spellbook", "-",
                              "Add Random Spell", "Add Selected Spell", "Delete Spell",
                              "Edit Spell Data", "-", "Create Scroll"}));
        QStringList tips;
        for (QAction* action : window.tbSpellBook->actions())
            tips << (action->isSeparator() ? QStringLiteral("-") : action->toolTip());
        QCOMPARE(tips, (QStringList{"New Spellbook", "Open Spellbook", "Save Spellbook", "-",
                                    "Fill Spellbook", "Validate Spellbook", "Erase Spellbook", "-",
                                    "Add Spell", "Add Random Spell", "Delete Spell", "-",
                                    "Edit Spell Data", "Create New Spell", "-", "Copy to Clipboard",
                                    "Preview/Format Output", "Print Spellbook"}));
        for (QAction* action : window.tbSpellBook->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());
    }

    // The level buttons stand whole inside the group's frame, and the list below it.
    void spellLevelGroupShowsWholeButtons() {
        TfrmSpellBook& window = NewWindow();
        auto* box = qobject_cast<QWidget*>(window.grpSpellLevel->button(1)->parent());
        QVERIFY(box);
        QCoreApplication::processEvents();
        const QRect inside = box->contentsRect();
        for (QAbstractButton* button : window.grpSpellLevel->buttons()) {
            QVERIFY2(inside.contains(button->geometry()),
                     qPrintable(QStringLiteral("button %1 at %2,%3 %4x%5")
                                    .arg(button->text())
                                    .arg(button->y())
                                    .arg(button->x())
                                    .arg(button->width())
                                    .arg(button->height())));
            QVERIFY(button->height() >= button->sizeHint().height());
            QVERIFY(button->width() >= button->minimumSizeHint().width());
        }
        QVERIFY(GeometryIn(window.lbSpells, &window).top() > box->geometry().bottom());
        QVERIFY(box->geometry().right() < window.ebSpellsPerDay->x());
    }

    void spellsPerDayFigure_data() {
        QTest::addColumn<QString>("specialty");
        QTest::addColumn<int>("spellLevel");
        QTest::addColumn<QString>("figure");
        QTest::newRow("necromancer 3") << "Necromancer" << 3 << "2";
        QTest::newRow("necromancer 4") << "Necromancer" << 4 << "0";
        QTest::newRow("generalist 3") << "Generalist" << 3 << "1";
        QTest::newRow("generalist 4") << "Generalist" << 4 << "0";
        QTest::newRow("unknown name 1") << "Pyromancer" << 1 << "5";
    }
    void spellsPerDayFigure() {
        QFETCH(QString, specialty);
        QFETCH(int, spellLevel);
        TfrmSpellBook& window = NewWindow();
        window.spnWizardLevel->setValue(5);
        window.cbWizardSpecialty->setEditText(specialty);
        window.grpSpellLevel->button(spellLevel)->click();
        QTEST(window.ebSpellsPerDay->text(), "figure");
        QCOMPARE(window.lbSpells->count(), window.Book().LevelCount[spellLevel]);
    }

    void typingALevelOutsideTheLimits() {
        TfrmSpellBook& window = NewWindow();
        window.SetModified(false);
        window.grpSpellLevel->button(1)->click();
        QLineEdit* edit = window.spnWizardLevel->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "45");
        // While typing the book holds what was typed and the figure reads nothing outside the
        // table.
        QCOMPARE(window.Book().CasterLevel, 45);
        QCOMPARE(window.ebSpellsPerDay->text(), QStringLiteral("0"));
        QVERIFY(window.Book().Modified);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(window.spnWizardLevel, &leave);
        QCOMPARE(window.Book().CasterLevel, 30);
        QCOMPARE(window.spnWizardLevel->text(), QStringLiteral("30"));
        QCOMPARE(window.ebSpellsPerDay->text(), QStringLiteral("7"));

        // An emptied field reads as no number: level 1.
        edit->selectAll();
        QTest::keyClick(window.spnWizardLevel, Qt::Key_Backspace);
        QCOMPARE(window.Book().CasterLevel, 1);
        window.spnWizardLevel->Settle();
        QCOMPARE(window.spnWizardLevel->text(), QStringLiteral("1"));

        window.spnWizardIntelligence->setValue(17);
        QCOMPARE(window.Book().Intelligence, 17);
        window.cbSpellFrequency->setCurrentIndex(3);
        QCOMPARE(window.Book().SpellFrequency, -3);
    }

    void casterFieldsTakeDigitsOnly_data() {
        QTest::addColumn<bool>("level"); // else the Intelligence field
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("level, letter after a digit") << true << "9x"
                                                     << "9";
        QTest::newRow("level, letters only") << true << "ab"
                                             << "1";
        QTest::newRow("level, sign and blank") << true << "1- 2"
                                               << "12";
        QTest::newRow("intelligence, letter after digits") << false << "12e"
                                                           << "12";
        QTest::newRow("intelligence, letter between") << false << "1x5"
                                                      << "15";
    }
    void casterFieldsTakeDigitsOnly() {
        QFETCH(bool, level);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TfrmSpellBook& window = NewWindow();
        SpinEdit* field = level ? window.spnWizardLevel : window.spnWizardIntelligence;
        field->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), shown);
        QCOMPARE(level ? window.Book().CasterLevel : window.Book().Intelligence, shown.toInt());

        // Alt+letter comes with the letter as text on Linux; it is no input.
        QTest::keyClick(field, Qt::Key_X, Qt::AltModifier);
        QTest::keyClick(field, Qt::Key_7, Qt::AltModifier);
        QCOMPARE(field->text(), shown);
    }

    void specialtyQuestionOnLeavingTheBox() {
        TfrmSpellBook& window = NewWindow();
        window.cbWizardSpecialty->setEditText("Pyromancer");
        QCOMPARE(window.Book().Specialty, std::string("Pyromancer"));
        h->prompter.Message(Answer::No);
        QVERIFY(LeaveSpecialtyBox(window));
        QTRY_VERIFY(h->prompter.Idle());
        const PromptRecord& box = h->prompter.Last();
        QCOMPARE(box.kind, BoxKind::Confirmation);
        QCOMPARE(box.buttons, BoxButtons::YesNo);
        QCOMPARE(box.text,
                 QStringLiteral("The specialty \"Pyromancer\" does not exist on the current "
                                "specialty list.\r\nWould you like modify the specialty list?"));
        QCOMPARE(window.Book().Specialty, std::string("Pyromancer"));

        // Known names and "Generalist" pass without a question.
        for (const char* name : {"Generalist", "Invoker"}) {
            window.cbWizardSpecialty->setEditText(name);
            QVERIFY(LeaveSpecialtyBox(window));
        }
        QCoreApplication::processEvents();
        QCOMPARE(h->prompter.Records().size(), size_t(2));
    }

    // The click that takes the focus out of the box does its work before the
    // question comes up.
    void specialtyQuestionComesAfterTheClick() {
        TfrmSpellBook& window = NewWindow();
        window.cbWizardSpecialty->setEditText("Foo");
        QVERIFY(GiveFocus(window.cbWizardSpecialty));
        int levelAtQuestion = 0;
        h->prompter.Message(Answer::No, [&] { levelAtQuestion = window.SpellLevel(); });
        QAbstractButton* three = window.grpSpellLevel->button(3);
        QTest::mousePress(three, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(h->prompter.Records().size(), size_t(1)); // not while the button is down
        QTest::mouseRelease(three, Qt::LeftButton);
        QTRY_VERIFY(h->prompter.Idle());
        QCOMPARE(levelAtQuestion, 3);
        QCOMPARE(window.SpellLevel(), 3);
        QVERIFY(h->prompter.Last().text.contains("\"Foo\""));
    }

    // A drag started from the list swallows the release: the next move of the
    // mouse without a button held lets the question come.
    void specialtyQuestionAfterADrag() {
        TfrmSpellBook& window = NewWindow();
        window.cbWizardSpecialty->setEditText("Foo");
        QVERIFY(GiveFocus(window.cbWizardSpecialty));
        h->prompter.Message(Answer::No);
        QTest::mousePress(window.lbSpells->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), window.lbSpells);
        {
            SwallowRelease drag;
            qApp->installEventFilter(&drag);
            QTest::mouseRelease(window.lbSpells->viewport(), Qt::LeftButton);
            qApp->removeEventFilter(&drag);
        }
        QCoreApplication::processEvents();
        QCOMPARE(h->prompter.Records().size(), size_t(1));
        QTest::mouseMove(window.lbSpells->viewport(), QPoint(8, 8));
        QTRY_VERIFY(h->prompter.Idle());
        QVERIFY(h->prompter.Last().text.contains("\"Foo\""));
    }

    // Another window or box taking the focus is no move within the window.
    void noSpecialtyQuestionWhenTheFocusLeavesTheWindow() {
        TfrmSpellBook& window = NewWindow();
        window.cbWizardSpecialty->setEditText("Bar");
        QVERIFY(GiveFocus(window.cbWizardSpecialty));
        QWidget other;
        auto* field = new QLineEdit(&other);
        QVERIFY(GiveFocus(field));
        QCoreApplication::processEvents();
        QCOMPARE(h->prompter.Records().size(), size_t(1)); // the New Spellbook dialog only

        // The save question of a closing window takes the focus as well.
        QVERIFY(GiveFocus(window.cbWizardSpecialty));
        QWidget box;
        h->prompter.Message(Answer::Cancel, [&box] { QVERIFY(GiveFocus(&box)); });
        window.mnuCloseClick();
        QCoreApplication::processEvents();
        QCOMPARE(h->prompter.Records().size(), size_t(2));
        QVERIFY(h->prompter.Last().text.startsWith("Spellbook:"));
    }

    void fillBookShowsTheWorkingBoxAndMarksModified() {
        TfrmSpellBook& window = NewWindow();
        window.SetModified(false);
        window.spnWizardLevel->setValue(9);
        window.mnuFillBookClick();
        QVERIFY(window.Book().Modified);
        QCOMPARE(h->Context().Working().LastShown().task, QStringLiteral("Filling Spellbook"));
        QVERIFY(h->Context().Working().LastShown().painted);
        QVERIFY(!h->Context().Working().isVisible());
        QCOMPARE(window.lbSpells->count(), window.Book().LevelCount[1]);
        const tSpell* first = window.Book().SpellAt(1, 0);
        QVERIFY(first);
        QVERIFY(
            RowText(window.lbSpells, 0).startsWith(QString::fromStdString(first->Name) + "  ("));
    }

    void saveAsThenSave() {
        TfrmSpellBook& window = NewWindow();
        const QString path = h->home.Working() + "mine.spb";
        h->prompter.SaveFile(path);
        window.mnuSaveClick(); // untitled: asks for a name
        const FileDialogSpec& request = h->prompter.Last().request;
        QCOMPARE(request.title, QStringLiteral("Save Spellbook"));
        QCOMPARE(request.filter,
                 QStringLiteral("*.SPB (Spellbook Files)|*.spb|*.* (All Files)|*.*"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("spb"));
        QVERIFY(request.confirmOverwrite); // another file of that name is not lost unasked
        QVERIFY(!window.Book().Modified);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(window.Caption(), path);
        auto back = ReadSpellbookFile(path.toStdString());
        QVERIFY(back);
        QCOMPARE(back->Count(), window.Book().Count());
        QCOMPARE(back->CasterLevel, window.Book().CasterLevel);

        // A named book is written to its file without a question.
        window.spnWizardIntelligence->setValue(15);
        QVERIFY(window.Book().Modified);
        window.mnuSaveClick();
        QVERIFY(!window.Book().Modified);
        QCOMPARE(ReadSpellbookFile(path.toStdString())->Intelligence, 15);

        // Save As cancelled changes nothing.
        window.spnWizardIntelligence->setValue(16);
        h->prompter.SaveFile({});
        window.mnuSaveAsClick();
        QVERIFY(window.Book().Modified);
        QCOMPARE(window.Caption(), path);
    }

    void failingSaveKeepsTheChanges() {
        TfrmSpellBook& window = NewWindow();
        const QString gone = h->home.Working() + "no/such/folder/book.spb";
        h->prompter.SaveFile(gone).Message(Answer::Ok);
        window.mnuSaveAsClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Writing Spellbook File\r\n") + gone);
        QVERIFY(window.Book().Modified);
        QCOMPARE(window.Caption(), QStringLiteral("untitled"));

        // A disk that fills up while writing: the old file stays as it was.
        const QString path = h->home.Working() + "full.spb";
        h->prompter.SaveFile(path);
        window.mnuSaveAsClick();
        const QByteArray before = FileBytes(path);
        window.spnWizardIntelligence->setValue(20);
        SetWriteFailureAfterBytesForTesting(10);
        h->prompter.Message(Answer::Ok);
        window.mnuSaveClick();
        SetWriteFailureAfterBytesForTesting(-1);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Writing Spellbook File\r\n") + path);
        QVERIFY(window.Book().Modified);
        QCOMPARE(FileBytes(path), before);
    }

    void closeQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(Answer::Yes) << true << true << true;
        QTest::newRow("yes, save as cancelled") << int(Answer::Yes) << false << false << false;
        QTest::newRow("no") << int(Answer::No) << false << true << false;
        QTest::newRow("cancel") << int(Answer::Cancel) << false << false << false;
    }
    void closeQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, saveAs);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        TfrmSpellBook& window = NewWindow();
        const QString path = h->home.Working() + "closing.spb";
        h->prompter.Message(Answer(answer));
        if (Answer(answer) == Answer::Yes) h->prompter.SaveFile(saveAs ? path : QString());
        window.mnuCloseClick();
        QCOMPARE(h->prompter.Records()[1].text,
                 QStringLiteral(
                     "Spellbook:\r\nuntitled\r\nhas not been saved. Do you wish to save it now?"));
        QCOMPARE(h->prompter.Records()[1].buttons, BoxButtons::YesNoCancel);
        if (closes)
            QTRY_VERIFY(h->SpellBookWindows().empty());
        else
            QCOMPARE(h->SpellBookWindows().size(), size_t(1));
        QCOMPARE(QFile::exists(path), saved);
    }

    void unchangedBookClosesWithoutAQuestion() {
        const QString path = h->home.Write("quiet.spb", SpellbookV4(4, 12, "Diviner", 'C', {}));
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        h->ActiveSpellBook()->mnuCloseClick();
        QTRY_VERIFY(h->SpellBookWindows().empty());
    }

    void exitRunsTheFramesShutdown() {
        TfrmSpellBook& window = NewWindow();
        h->prompter.Message(Answer::Cancel);
        window.mnuExitClick();
        QVERIFY(h->Frame().isVisible());
        h->prompter.Message(Answer::No);
        window.mnuExitClick();
        QVERIFY(!h->Frame().isVisible());
    }
};

QTEST_MAIN(SpellBookWindowTest)
#include "spell_book_window_test.moc"
