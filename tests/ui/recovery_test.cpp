// Recovery files: kept while unsaved, gone once saved or dropped; a gone program's offered.

#include "files/recovery_file.h"
#include "files/spell_file.h"
#include "files/spell_texts_file.h"
#include "platform/program_folder.h"
#include "platform/program_settings.h"
#include "platform/qt/text_conversion.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/recovery_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_details_dialog.h"
#include "ui/spell_edit_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>

using namespace vellumar;
using namespace vellumar::test;

namespace {

enum class Ending { Saved, ClosedUnsaved, CleanExit, LiveSession, GoneSession, Reopened, Crashed };

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Ending)

class RecoveryTest : public HarnessTest {
    Q_OBJECT

    QString Folder() const { return h->home.State() + QStringLiteral("vellumar/recovery"); }
    // Every file and folder under the recovery folder; with `suffix`, only those ending so.
    QStringList Files(const QString& suffix = QString()) const {
        QStringList files;
        QDirIterator it(Folder(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString file = it.next(); file.endsWith(suffix)) files << file;
        return files;
    }

private slots:
    void unsavedWork_data() {
        QTest::addColumn<Ending>("ending");
        QTest::newRow("saved book") << Ending::Saved;
        QTest::newRow("closed without saving") << Ending::ClosedUnsaved;
        QTest::newRow("clean exit") << Ending::CleanExit;
        QTest::newRow("a running program's files") << Ending::LiveSession;
        QTest::newRow("a gone program's files") << Ending::GoneSession;
        QTest::newRow("a gone program's book, reopened too") << Ending::Reopened;
        QTest::newRow("master list's texts after a crash") << Ending::Crashed;
    }
    void unsavedWork() {
        QFETCH(Ending, ending);
        h->UseMasterList(FiveSpellMaster());
        const QString path = h->home.Write(
            QStringLiteral("book.spb"),
            SpellbookV4(3, 10, "Generalist", 'C', {SpellLine(1, "Alarm"), SpellLine(1, "Sleep")}));
        std::unique_ptr<RecoverySession> other;
        const bool gone = ending == Ending::GoneSession || ending == Ending::Reopened;
        if (ending == Ending::LiveSession || gone) {
            other = std::make_unique<RecoverySession>(ToPath(Folder()));
            RecoveryInfo info;
            info.path = info.caption = ToPath(path);
            QVERIFY(other->Write(other->NewSlot(), info, Contents(path).toStdString()));
        }
        if (gone) {
            const QString folder = FromPath(other->SessionFolder());
            other.reset();
            QVERIFY(QDir().rename(folder, Folder() + QStringLiteral("/session-999999999")));
            h->prompter.Exec([](QDialog&) {}, true);
        }
        if (ending == Ending::Reopened) { // the book the last clean exit left open
            ProgramSettings settings = ProgramSettings::In(vellumar::SettingsFolder());
            QVERIFY(settings.SetReopenBooks(true) &&
                    settings.SetLastOpenBooks({{ToPath(path), 1}}));
        }
        h->app->Start(1, LastSession::Reopen);
        if (ending == Ending::LiveSession) {
            QVERIFY(h->SpellBookWindows().empty());
            QCOMPARE(Files(QStringLiteral(".info")).size(), 1);
            return;
        }
        if (gone) { // in one window: a second would hold the saved book
            QCOMPARE(h->SpellBookWindows().size(), size_t(1));
            QVERIFY(h->ActiveSpellBook()->IsModified());
            QCOMPARE(h->ActiveSpellBook()->Caption(), path);
            QVERIFY(!QDir(Folder() + QStringLiteral("/session-999999999")).exists());
            QCOMPARE(Files(QStringLiteral(".info")).size(), 1);
            return;
        }

        if (ending == Ending::Crashed) { // Alarm's range set in Details..., left as by a crash
            h->prompter.Exec<TfrmSpellEdit>([](auto& edit) { edit.bnDetails->click(); }, true)
                .Exec<TfrmSpellDetails>([](auto& details) { details.ebRange->setText("Self"); },
                                        true);
            SelectRows(h->Context().MasterListWindow()->lbSpells, {0});
            h->Context().MasterListWindow()->mnuEditSpellClick();
            QTRY_COMPARE(Files(QStringLiteral(".texts")).size(), 1);
            std::filesystem::copy(ToPath(Files(QStringLiteral(".texts"))[0].section('/', 0, -2)),
                                  ToPath(Folder() + QStringLiteral("/session-999999999")));
            h->app = std::make_unique<VellumarApp>(h->prompter);
            h->prompter.Exec([](QDialog&) {}, true).Message(Answer::Yes);
            h->Start();
            const SpellText* text = h->Context().MasterTexts().Find(1, "Alarm");
            QCOMPARE(text ? text->Range : std::string(), "Self");
            QCOMPARE(Files(QStringLiteral(".texts")).size(), 1); // this session's, not the orphan's
            return;
        }
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        TfrmSpellBook* book = h->ActiveSpellBook();
        SelectRows(book->lbSpells, {0});
        book->mnuDeleteSpellClick();
        TfrmMasterList* master = h->Context().MasterListWindow();
        SelectRows(master->lbSpells, {0});
        master->mnuDeleteSpellClick();
        QTRY_COMPARE(Files(QStringLiteral(".info")).size(), 2);
        QByteArray kept; // the book's: a spellbook file starts with its version
        for (const QString& body : Files(QStringLiteral(".body")))
            if (Contents(body).startsWith("4\r\n")) kept = Contents(body);
        switch (ending) {
        case Ending::Saved:
            book->mnuSaveClick();
            QCOMPARE(Contents(path), kept);
            QCOMPARE(Files(QStringLiteral(".info")).size(), 1);
            break;
        case Ending::ClosedUnsaved:
            h->prompter.Message(Answer::No);
            book->mnuCloseClick();
            QTRY_COMPARE(Files(QStringLiteral(".info")).size(), 1);
            break;
        default:
            h->app.reset();
            QCOMPARE(Files(), QStringList());
        }
    }

    // A recovered list of another file than the master file goes back to that
    // file, with the texts beside it; the master file and the setting stay.
    void recoveredListOfAnotherFileGoesHome() {
        const QByteArray masterTexts = R"([{"name": "Alarm", "level": 1}])";
        const QString master = h->UseMasterList(FiveSpellMaster(), masterTexts);
        const QString other = h->home.Write("other.dat", SpellLine(2, "Web"));
        h->home.Write(other + ".texts.json", R"([{"name": "Web", "level": 2}])");
        auto crashed = std::make_unique<RecoverySession>(ToPath(Folder()));
        RecoveryInfo info;
        info.kind = RecoveryKind::List;
        info.path = ToPath(other);
        QVERIFY(
            crashed->Write(crashed->NewSlot(), info,
                           (SpellLine(1, "Sleep") + "\r\n" + SpellLine(2, "Web")).toStdString()));
        const QString folder = FromPath(crashed->SessionFolder());
        crashed.reset();
        QVERIFY(QDir().rename(folder, Folder() + QStringLiteral("/session-999999999")));
        h->prompter.Exec([](QDialog&) {}, true).Message(Answer::Yes);
        h->Start();
        QVERIFY(h->Context().MasterTexts().Find(2, "Web"));
        QVERIFY(!h->Context().MasterTexts().Find(1, "Alarm"));

        QVERIFY(h->Context().MasterListWindow()->mnuSaveMasterFileClick());
        QCOMPARE(ReadSpellList(ToPath(other))->Count(), 2);
        QVERIFY(ReadSpellTexts(ToPath(other + ".texts.json"))->Find(2, "Web"));
        QCOMPARE(Contents(master), FiveSpellMaster());
        QCOMPARE(Contents(master + ".texts.json"), masterTexts);
        QCOMPARE(h->Context().Settings().File().ReadString("Vellumar", "MasterFile", "none"),
                 std::string("none"));
    }
    void changedWhileSwitchedOff() { // kept once it is on again, without a further change
        h->UseMasterList(FiveSpellMaster());
        h->Start();
        QAction* keep = h->Frame().findChild<QAction*>(QStringLiteral("mnuKeepRecoveryFiles"));
        keep->trigger();
        SelectRows(h->Context().MasterListWindow()->lbSpells, {0});
        h->Context().MasterListWindow()->mnuDeleteSpellClick();
        keep->trigger();
        QTRY_COMPARE(Files(QStringLiteral(".info")).size(), 1);
    }
    // Rows named by the file (the path in the tip) fit the screen; the first
    // choice shows that it has the focus.
    void dialogRowsAreShort() {
        const std::string path = "/home/me/" + std::string(500, 'x') + ".spb";
        const long long now = QDateTime::currentSecsSinceEpoch();
        RecoveryDialog dialog({{{.path = path, .time = now, .spells = 3}},
                               {{.time = now, .spells = 12}},
                               {{.time = now + 1, .spells = 12}}});
        const std::vector<QComboBox*>& rows = dialog.cbChoices;
        QVERIFY(rows[0]->accessibleName().startsWith(QString(500, 'x') + ".spb (3 spells, "));
        QVERIFY(rows[1]->accessibleName() != rows[2]->accessibleName());
        QCOMPARE(rows[0]->toolTip(), FromPath(path));
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(dialog.width() <= dialog.screen()->availableGeometry().width());
        QTRY_COMPARE(QApplication::focusWidget(), rows[0]);
        QVERIFY(rows[0]->grab().toImage() != rows[1]->grab().toImage());
    }
    void folderOfAnotherUser() { // its entries could name any file: one box, nothing offered
        h->UseMasterList(FiveSpellMaster());
        QVERIFY(RecoverySession(ToPath(Folder())).Write(1, RecoveryInfo(), "4\r\n"));
        SetRecoveryOwnerForTesting(QFileInfo(Folder()).ownerId() + 1);
        h->prompter.Message(Answer::Ok);
        h->Start();
        SetRecoveryOwnerForTesting(-1);
        QVERIFY(h->prompter.Records().size() == 1 && h->prompter.Last().text.contains(Folder()));
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
