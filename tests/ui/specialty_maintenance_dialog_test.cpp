#include "files/specialty_file.h"
#include "model/specialty.h"
#include "support/scripted_prompter.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/specialty_name_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumar;
using test::PromptType;
using test::ScriptedPrompter;

namespace {

const QString CloseQuestion =
    QStringLiteral("You have made changes to the specialty definitions.\r\n"
                   "Do you wish to save the changes?\r\n"
                   "\r\n"
                   "(if you do not save the changes, they will remain\r\n"
                   "in effect until you restart the application)");

// The window over a table, with its refill callbacks counted and the number of
// boxes seen when the new-book refill ran.
struct Fixture {
    explicit Fixture(std::unique_ptr<tSpecialtyList> initial = BuiltInSpecialties())
        : table(std::move(initial)) {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("Specialty.dat")).toStdString();
        window = std::make_unique<TfrmSpecialtyMaintenance>(
            prompter, *table, path,
            [this] {
                ++newBookRefills;
                recordsAtNewBookRefill = prompter.Records().size();
            },
            [this] { ++spellbookRefills; });
    }
    QStringList Entries() const {
        QStringList names;
        for (int i = 0; i < window->cbSpecialty->count(); ++i)
            names << window->cbSpecialty->itemText(i);
        return names;
    }
    // One name prompt answered with `typed`, its caption, prompt and preset checked.
    void AnswerName(const QString& caption, const QString& prompt, const QString& preset,
                    const QString& typed, bool accept) {
        prompter.Exec(
            [=](QDialog& dialog) {
                auto& name = dynamic_cast<TfrmSpecialtyName&>(dialog);
                QCOMPARE(name.windowTitle(), caption);
                QCOMPARE(name.lblPrompt->text(), prompt);
                QCOMPARE(name.ebSpecialtyName->text(), preset);
                name.ebSpecialtyName->setText(typed);
                QTest::mouseClick(accept ? name.bnOK : name.bnCancel, Qt::LeftButton);
            },
            accept);
    }
    void AnswerAdd(const QString& typed, bool accept = true) {
        AnswerName(QStringLiteral("Add Specailty"),
                   QStringLiteral("Enter the name of the new specialty..."), QStringLiteral(" "),
                   typed, accept);
    }
    // Shows the window and closes it, answering the boxes that follow.
    void Close(std::initializer_list<Answer> answers = {}) {
        prompter.Exec([](QDialog&) {}, true);
        for (Answer answer : answers) prompter.Message(answer);
        window->ShowModal();
    }

    QTemporaryDir dir;
    std::string path;
    std::unique_ptr<tSpecialtyList> table;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmSpecialtyMaintenance> window;
    int newBookRefills = 0;
    int spellbookRefills = 0;
    size_t recordsAtNewBookRefill = 0;
};

void Retype(QPlainTextEdit* memo, const QString& text) {
    memo->selectAll();
    memo->insertPlainText(text);
}

QStringList Lines(const tStringList* list) {
    QStringList out;
    if (list)
        for (const std::string& s : *list) out << QString::fromStdString(s);
    return out;
}

} // namespace

class SpecialtyMaintenanceTest : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void choosingShowsLists();
    void add_data();
    void add();
    void rename_data();
    void rename();
    void namePromptPlacement();
    void deleteAsksFirst();
    void editStoredWhenOkTakesFocus();
    void editLinesKeptAsTyped();
    void editInProgressReachesTableBeforeCommand();
    void closingWithoutChanges();
    void noKeepsChangesAndAsksAgain();
    void saveChanges();
    void failingSave();
    void unreadableFileIsReplacedOnlyWhenAsked();
    void emptyTable();
    void activationFollowsScreen();
    void shownWindowStoresOnFocusLeaving();
};

void SpecialtyMaintenanceTest::layout() {
    Fixture f;
    TfrmSpecialtyMaintenance& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Specialty Maintenance"));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowMinMaxButtonsHint));
    auto* bar = w.findChild<QMenuBar*>();
    QVERIFY(bar);
    QStringList menus;
    for (QAction* menu : bar->actions()) {
        menus << menu->text();
        for (QAction* item : menu->menu()->actions()) menus << "  " + item->text();
    }
    QCOMPARE(menus, (QStringList{"&File", "  &Save Changes", "  E&xit", "&Edit",
                                 "  &Change Specialty Name", "  &Add New Specialty",
                                 "  &Delete Specialty"}));
    QCOMPARE(w.cbSpecialty->parentWidget()->size(), QSize(467, 328));
    QVERIFY(!w.cbSpecialty->isEditable());
    QCOMPARE(w.cbSpecialty->maxVisibleItems(), 16);
    for (QWidget* bold :
         {static_cast<QWidget*>(w.cbSpecialty), static_cast<QWidget*>(w.memPreferred),
          static_cast<QWidget*>(w.memProhibited)})
        QVERIFY(bold->font().bold());
    QCOMPARE(w.memPreferred->size(), QSize(209, 217));
    QCOMPARE(w.memProhibited->size(), QSize(209, 217));
    const QRect ok = w.bnOK->geometry();
    QCOMPARE(ok.center().x(), 467 / 2);
    QVERIFY(ok.top() > w.memPreferred->geometry().bottom());
    QVERIFY(w.memPreferred->x() < w.memProhibited->x());
    QCOMPARE(w.memPreferred->y(), w.memProhibited->y());

    QCOMPARE(f.Entries(), (QStringList{"Abjurer", "Conjurer", "Diviner", "Enchanter", "Illusionist",
                                       "Invoker", "Necromancer", "Transmuter"}));
    QCOMPARE(w.cbSpecialty->currentIndex(), 0);
    QCOMPARE(w.memPreferred->toPlainText(), QStringLiteral("abj"));
    QCOMPARE(w.memProhibited->toPlainText(), QStringLiteral("alt\nill"));
    QCOMPARE(f.table->CurrentName(), std::string("Abjurer"));
    QVERIFY(!f.table->Modified);
}

void SpecialtyMaintenanceTest::choosingShowsLists() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(4);
    QCOMPARE(f.table->CurrentName(), std::string("Illusionist"));
    QCOMPARE(f.window->memPreferred->toPlainText(), QStringLiteral("ill"));
    QCOMPARE(f.window->memProhibited->toPlainText(), QStringLiteral("nec\ni/e\nabj"));
    QVERIFY(!f.table->Modified);
}

void SpecialtyMaintenanceTest::add_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("added");
    QTest::newRow("empty") << "" << true << false;
    QTest::newRow("one blank") << " " << true << false;
    QTest::newRow("tab only") << "\t" << true << false;
    QTest::newRow("cancel") << "Wild Mage" << false << false;
    QTest::newRow("new") << "Wild Mage" << true << true;
    QTest::newRow("blank before") << " Elementalist" << true << true;
    QTest::newRow("duplicate") << "Diviner" << true << true;
    QTest::newRow("case variant") << "abjurer" << true << true;
    QTest::newRow("Generalist") << "Generalist" << true << true;
}

void SpecialtyMaintenanceTest::add() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(bool, added);
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(2);
    f.AnswerAdd(typed, accept);
    f.window->mnuAddNewSpecialty->trigger();
    f.prompter.VerifyDone();

    QCOMPARE(f.table->Modified, added);
    QCOMPARE(f.table->Count(), added ? 9 : 8);
    if (!added) {
        QCOMPARE(f.window->cbSpecialty->currentIndex(), 2);
        QCOMPARE(f.window->memPreferred->toPlainText(), QStringLiteral("div"));
        return;
    }
    // The new specialty itself is shown and current, even when its name repeats one.
    QCOMPARE(f.Entries().size(), 9);
    QCOMPARE(f.window->cbSpecialty->currentIndex(), 8);
    QCOMPARE(f.window->cbSpecialty->currentText(), typed);
    QCOMPARE(f.table->CurrentSpecialty(), f.table->LastItem());
    QCOMPARE(f.table->CurrentName(), typed.toStdString());
    QVERIFY(f.window->memPreferred->toPlainText().isEmpty());
    QVERIFY(f.window->memProhibited->toPlainText().isEmpty());
    QCOMPARE(Lines(f.table->FindByName("Diviner") ? &f.table->FindByName("Diviner")->Preferred
                                                  : nullptr),
             QStringList{"div"});
}

void SpecialtyMaintenanceTest::rename_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::newRow("cancel") << "Seer" << false;
    QTest::newRow("new name") << "Seer" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blank") << " " << true;
    QTest::newRow("another's name, other case") << "abjurer" << true;
    QTest::newRow("another's name") << "Abjurer" << true;
}

void SpecialtyMaintenanceTest::rename() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(2);
    f.AnswerName(QStringLiteral("Change Specialty Name"),
                 QStringLiteral("Change the name of the specialty to..."),
                 QStringLiteral("Diviner"), typed, accept);
    f.window->mnuEditSpecialtyName->trigger();
    f.prompter.VerifyDone();

    const QString name = accept ? typed : QStringLiteral("Diviner");
    QCOMPARE(f.table->Modified, accept);
    QCOMPARE(f.table->Count(), 8);
    QCOMPARE(f.window->cbSpecialty->itemText(2), name);
    // The renamed specialty stays on screen and current, whatever its new name.
    QCOMPARE(f.window->cbSpecialty->currentIndex(), 2);
    QCOMPARE(f.table->CurrentName(), name.toStdString());
    QCOMPARE(f.window->memPreferred->toPlainText(), QStringLiteral("div"));
    QCOMPARE(f.window->memProhibited->toPlainText(), QStringLiteral("c/s"));
}

void SpecialtyMaintenanceTest::namePromptPlacement() {
    Fixture f;
    f.window->move(200, 150);
    f.prompter.Exec(
        [&](QDialog& dialog) {
            QCOMPARE(dialog.pos(), QPoint(313, 174));
            QCOMPARE(dialog.size(), QSize(236, 95));
            QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
            QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("ebSpecialtyName")));
            QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("lblPrompt")));
        },
        false);
    f.window->mnuAddNewSpecialty->trigger();
    f.prompter.VerifyDone();
}

void SpecialtyMaintenanceTest::deleteAsksFirst() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(3);
    f.prompter.Message(Answer::Cancel);
    f.window->mnuDeleteSpecialty->trigger();
    QCOMPARE(f.prompter.Last().kind, BoxKind::Confirmation);
    QCOMPARE(f.prompter.Last().buttons, BoxButtons::OkCancel);
    QCOMPARE(f.prompter.Last().text,
             QStringLiteral("Are you sure you want to delete the Enchanter specialty?"));
    QCOMPARE(f.table->Count(), 8);
    QVERIFY(!f.table->Modified);
    QCOMPARE(f.window->cbSpecialty->currentIndex(), 3);

    f.prompter.Message(Answer::Ok);
    f.window->mnuDeleteSpecialty->trigger();
    f.prompter.VerifyDone();
    QCOMPARE(f.table->Count(), 7);
    QVERIFY(f.table->Modified);
    QCOMPARE(f.window->cbSpecialty->currentIndex(), 0);
    QCOMPARE(f.table->CurrentName(), std::string("Abjurer"));
    QVERIFY(!f.table->FindByName("Enchanter"));
    QCOMPARE(f.Entries().size(), 7);
}

void SpecialtyMaintenanceTest::editStoredWhenOkTakesFocus() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(1);
    f.prompter.Exec(
        [&](QDialog&) {
            Retype(f.window->memPreferred, QStringLiteral("c/s\nsum"));
            QTest::mouseClick(f.window->bnOK, Qt::LeftButton);
        },
        true);
    f.prompter.Message(Answer::No);
    QCOMPARE(f.window->ShowModal(), int(QDialog::Accepted));
    f.prompter.VerifyDone();

    QCOMPARE(Lines(&f.table->FindByName("Conjurer")->Preferred), (QStringList{"c/s", "sum"}));
    QVERIFY(f.table->Modified);
    const auto& records = f.prompter.Records();
    QCOMPARE(records.size(), size_t(2));
    QCOMPARE(records[1].type, PromptType::Message);
    QCOMPARE(records[1].kind, BoxKind::Confirmation);
    QCOMPARE(records[1].buttons, BoxButtons::YesNoCancel);
    QCOMPARE(records[1].text, CloseQuestion);
    // The new spellbook dialog is refilled before the question, the spellbook windows after.
    QCOMPARE(f.newBookRefills, 1);
    QCOMPARE(f.recordsAtNewBookRefill, size_t(1));
    QCOMPARE(f.spellbookRefills, 1);
}

void SpecialtyMaintenanceTest::editLinesKeptAsTyped() {
    Fixture f;
    Retype(f.window->memProhibited, QStringLiteral(" alt \n\nGreater Divination\n"));
    Retype(f.window->memPreferred, QStringLiteral("abj"));
    f.window->memPreferred->document()->setModified(false); // retyped unchanged
    f.window->cbSpecialty->setCurrentIndex(1); // any command stores; the selection move too
    tSpecialty* abjurer = f.table->FindByName("Abjurer");
    QCOMPARE(Lines(&abjurer->Prohibited), (QStringList{" alt ", "", "Greater Divination"}));
    QCOMPARE(Lines(&abjurer->Preferred), QStringList{"abj"});
    QVERIFY(f.table->Modified);
}

void SpecialtyMaintenanceTest::editInProgressReachesTableBeforeCommand() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(5);
    Retype(f.window->memProhibited, QStringLiteral("e/c"));
    f.AnswerAdd(QStringLiteral("Wild Mage"));
    f.window->mnuAddNewSpecialty->trigger();
    f.prompter.VerifyDone();
    QCOMPARE(f.table->CurrentName(), std::string("Wild Mage"));
    QCOMPARE(Lines(&f.table->FindByName("Invoker")->Prohibited), QStringList{"e/c"});
}

void SpecialtyMaintenanceTest::closingWithoutChanges() {
    Fixture f;
    f.Close();
    f.prompter.VerifyDone();
    QCOMPARE(f.prompter.Records().size(), size_t(1)); // the showing only, no question
    QCOMPARE(f.newBookRefills, 0);
    QCOMPARE(f.spellbookRefills, 1);
}

void SpecialtyMaintenanceTest::noKeepsChangesAndAsksAgain() {
    Fixture f;
    f.prompter.Exec(
        [&](QDialog&) {
            f.window->mnuAddNewSpecialty->trigger();
            f.window->mnuClose->trigger();
        },
        false);
    f.AnswerAdd(QStringLiteral("Wild Mage"));
    f.prompter.Message(Answer::No);
    f.window->ShowModal();
    QCOMPARE(f.table->Count(), 9);
    QVERIFY(f.table->Modified);
    QCOMPARE(f.spellbookRefills, 1);

    // Next time: asked again; Cancel keeps the window open, then No closes it.
    f.prompter.Exec([](QDialog&) {}, true);
    f.prompter.Message(Answer::Cancel);
    f.window->ShowModal();
    QCOMPARE(f.prompter.Last().text, CloseQuestion);
    QCOMPARE(f.spellbookRefills, 1);
    f.prompter.Message(Answer::No);
    f.window->done(QDialog::Accepted);
    f.prompter.VerifyDone();
    QCOMPARE(f.spellbookRefills, 2);
    QCOMPARE(f.newBookRefills, 3);
    QVERIFY(!QFile::exists(QString::fromStdString(f.path)));
}

void SpecialtyMaintenanceTest::saveChanges() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(6);
    Retype(f.window->memPreferred, QStringLiteral("nec\nGreater Necromancy"));
    f.window->mnuSaveChanges->trigger(); // stores the edit in progress, then writes
    QVERIFY(!f.table->Modified);
    QCOMPARE(f.table->CurrentName(), std::string("Necromancer"));

    auto reread = ReadSpecialtyFile(f.path);
    QVERIFY(reread);
    QCOMPARE(reread->SpecialtyNames(), f.table->SpecialtyNames());
    QCOMPARE(Lines(&reread->FindByName("Necromancer")->Preferred),
             (QStringList{"nec", "Greater Necromancy"}));

    // Later edits reach the specialty still on screen.
    Retype(f.window->memProhibited, QStringLiteral("ill"));
    f.window->cbSpecialty->setCurrentIndex(0);
    QCOMPARE(Lines(&f.table->FindByName("Necromancer")->Prohibited), QStringList{"ill"});

    // Yes at the closing question saves and closes.
    f.Close({Answer::Yes});
    f.prompter.VerifyDone();
    QVERIFY(!f.table->Modified);
    QCOMPARE(Lines(&ReadSpecialtyFile(f.path)->FindByName("Necromancer")->Prohibited),
             QStringList{"ill"});
    QCOMPARE(f.spellbookRefills, 1);
}

void SpecialtyMaintenanceTest::unreadableFileIsReplacedOnlyWhenAsked() {
    Fixture f;
    const QByteArray unreadable("Wild Mage\r\n" + QByteArray(70000, 'x') + "\r\n");
    QFile file(QString::fromStdString(f.path));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(unreadable) == unreadable.size());
    file.close();
    f.AnswerAdd(QStringLiteral("Wild Mage"));
    f.window->mnuAddNewSpecialty->trigger();
    f.prompter.Message(Answer::No);
    f.window->mnuSaveChanges->trigger();
    QCOMPARE(f.prompter.Last().buttons, BoxButtons::YesNoDefaultNo);
    QVERIFY(f.table->Modified);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), unreadable);
    file.close();
    f.prompter.Message(Answer::Yes);
    f.window->mnuSaveChanges->trigger();
    QVERIFY(!f.table->Modified);
    QVERIFY(ReadSpecialtyFile(f.path));
}

void SpecialtyMaintenanceTest::failingSave() {
    Fixture f;
    const std::string unwritable =
        f.dir.filePath(QStringLiteral("missing/Specialty.dat")).toStdString();
    f.window = std::make_unique<TfrmSpecialtyMaintenance>(
        f.prompter, *f.table, unwritable, [] {}, [&f] { ++f.spellbookRefills; });
    f.AnswerAdd(QStringLiteral("Wild Mage"));
    f.window->mnuAddNewSpecialty->trigger();

    f.prompter.Message(Answer::Ok);
    f.window->mnuSaveChanges->trigger();
    QCOMPARE(f.prompter.Last().kind, BoxKind::Error);
    QCOMPARE(f.prompter.Last().buttons, BoxButtons::Ok);
    QCOMPARE(f.prompter.Last().text,
             QStringLiteral("Unable to write to ") + QString::fromStdString(unwritable));
    QVERIFY(f.table->Modified);

    // Yes at the closing question: the same error, and the window stays open.
    f.prompter.Message(Answer::Yes).Message(Answer::Ok);
    f.window->done(QDialog::Accepted);
    f.prompter.VerifyDone();
    QCOMPARE(f.prompter.Last().kind, BoxKind::Error);
    QVERIFY(f.table->Modified);
    QCOMPARE(f.spellbookRefills, 0);
}

void SpecialtyMaintenanceTest::emptyTable() {
    Fixture f(std::make_unique<tSpecialtyList>());
    TfrmSpecialtyMaintenance& w = *f.window;
    auto checkEmpty = [&] {
        QCOMPARE(w.cbSpecialty->count(), 0);
        QVERIFY(w.memPreferred->toPlainText().isEmpty());
        QVERIFY(w.memProhibited->toPlainText().isEmpty());
        QVERIFY(!w.memPreferred->isEnabled());
        QVERIFY(!w.memProhibited->isEnabled());
        QVERIFY(!w.mnuEditSpecialtyName->isEnabled());
        QVERIFY(!w.mnuDeleteSpecialty->isEnabled());
        QVERIFY(w.mnuAddNewSpecialty->isEnabled());
        QVERIFY(w.mnuSaveChanges->isEnabled());
    };
    checkEmpty();

    f.AnswerAdd(QStringLiteral("Wild Mage"));
    w.mnuAddNewSpecialty->trigger();
    QCOMPARE(f.Entries(), QStringList{"Wild Mage"});
    QVERIFY(w.memPreferred->isEnabled());
    QVERIFY(w.mnuEditSpecialtyName->isEnabled());
    QVERIFY(w.mnuDeleteSpecialty->isEnabled());

    // Deleting the last one leads back to the same state.
    f.prompter.Message(Answer::Ok);
    w.mnuDeleteSpecialty->trigger();
    f.prompter.VerifyDone();
    QCOMPARE(f.table->Count(), 0);
    QVERIFY(f.table->Modified);
    checkEmpty();

    // An empty table can be saved; the file then holds nothing.
    w.mnuSaveChanges->trigger();
    QVERIFY(!f.table->Modified);
    QVERIFY(QFile::exists(QString::fromStdString(f.path)));
}

void SpecialtyMaintenanceTest::activationFollowsScreen() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(5);
    f.table->FindByName("Diviner"); // another window moves the shared cursor
    f.prompter.Exec([&](QDialog&) { QCOMPARE(f.table->CurrentName(), std::string("Invoker")); },
                    false);
    f.window->ShowModal();
    f.prompter.VerifyDone();
}

// The real window: activation and focus changes, as the window system sends them.
void SpecialtyMaintenanceTest::shownWindowStoresOnFocusLeaving() {
    Fixture f;
    f.window->cbSpecialty->setCurrentIndex(7);
    f.table->First();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QCOMPARE(f.table->CurrentName(), std::string("Transmuter"));

    f.window->memPreferred->setFocus();
    QTRY_VERIFY(f.window->memPreferred->hasFocus());
    f.window->memPreferred->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.window->memPreferred, "er");
    QVERIFY(!f.table->Modified);
    f.window->memProhibited->setFocus();
    QTRY_VERIFY(f.table->Modified);
    QCOMPARE(Lines(&f.table->FindByName("Transmuter")->Preferred), QStringList{"alter"});
    f.window->hide();
}

QTEST_MAIN(SpecialtyMaintenanceTest)
#include "specialty_maintenance_dialog_test.moc"
