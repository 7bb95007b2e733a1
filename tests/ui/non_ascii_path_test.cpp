// Folder and file names beyond ASCII: the file dialogs' paths, the window
// caption, the saved files and the settings keep the file system's own
// (UTF-8) bytes and are never taken for Windows-1252 text.

#include "files/spell_file.h"
#include "model/spell_book.h"
#include "platform/qt/text_conversion.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/data_directory_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"

#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <filesystem>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                              "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
                              " \r\n";

// The file exists under exactly the UTF-8 bytes of its name.
bool ExistsAsUtf8(const QString& path) {
    return std::filesystem::is_regular_file(std::filesystem::path(path.toUtf8().toStdString()));
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->menu() && action->menu()->title() == title) return action->menu();
    return nullptr;
}

} // namespace

class NonAsciiPathTest : public HarnessTest {
    Q_OBJECT
    QString folder; // with a trailing '/'

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }

private slots:
    void init() {
        HarnessTest::init();
        h->UseMasterList(MasterFile);
        folder = h->home.Working() + QString::fromUtf8("B\u00fccher \u00e9/\u4e2d\u6587/");
        QVERIFY(QDir().mkpath(folder));
        h->Start();
    }

    void openSaveSaveAsAndExport() {
        const QString path = folder + QString::fromUtf8("Zauber\u4e2d\u00e9.spb");
        h->home.Write(path, SpellbookV4(5, 12, "Generalist", 'C',
                                        {"1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\""}));
        QVERIFY(ExistsAsUtf8(path));

        h->prompter.OpenFile(path);
        h->Frame().mnuOpenSpellbookClick();
        TfrmSpellBook* window = h->ActiveSpellBook();
        QVERIFY(window);
        QCOMPARE(window->Caption(), path);
        QCOMPARE(window->windowTitle(), path + QStringLiteral("[*]"));
        QVERIFY(
            qobject_cast<QMdiSubWindow*>(window->parentWidget())->windowTitle().startsWith(path));
        QMenu* windows = MenuNamed(h->Frame().menuBar(), QStringLiteral("&Window"));
        QVERIFY(windows);
        emit windows->aboutToShow();
        QCOMPARE(windows->actions().last()->text(), path);
        QCOMPARE(h->Frame().DataDirectory(), folder);
        QCOMPARE(window->Book().Count(), 1);

        // Save writes to the very file that was opened.
        window->spnWizardIntelligence->setValue(16);
        window->mnuSaveClick();
        QVERIFY(!window->Book().Modified);
        QCOMPARE(ReadSpellbookFile(ToPath(path))->Intelligence, 16);

        const QString savedAs = folder + QString::fromUtf8("Neu \u00fc.spb");
        h->prompter.SaveFile(savedAs);
        window->mnuSaveAsClick();
        QCOMPARE(window->Caption(), savedAs);
        QCOMPARE(window->windowTitle(), savedAs + QStringLiteral("[*]"));
        QVERIFY(ExistsAsUtf8(savedAs));
        QCOMPARE(ReadSpellbookFile(ToPath(savedAs))->Intelligence, 16);

        const QString exported = folder + QString::fromUtf8("Auszug \u20ac.dat");
        h->prompter.SaveFile(exported);
        window->mnuExportSpellClick();
        QVERIFY(ExistsAsUtf8(exported));
        QCOMPARE(ReadSpellList(ToPath(exported))->Count(), 1);

        QCOMPARE(Entries(folder), (QStringList{QString::fromUtf8("Auszug \u20ac.dat"),
                                               QString::fromUtf8("Neu \u00fc.spb"),
                                               QString::fromUtf8("Zauber\u4e2d\u00e9.spb")}));

        // A failure names the file with the same characters.
        const QString missing = folder + QString::fromUtf8("fehlt \u00e4/x.spb");
        h->prompter.SaveFile(missing).Message(Answer::Ok);
        window->mnuSaveAsClick();
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Writing Spellbook File\r\n") + missing);
        QCOMPARE(window->Caption(), savedAs);
    }

    void settingsKeepTheNamesAcrossARestart() {
        // Set Master File: the setting holds the path's own bytes.
        const QString master = folder + QString::fromUtf8("Meister\u4e2d.dat");
        h->home.Write(master, MasterFile);
        h->prompter.OpenFile(master);
        Master().mnuSetMasterFileClick();
        QCOMPARE(h->Context().MasterList()->Count(), 3);
        const QString ini = h->home.Home() + "Vellumar.INI";
        QVERIFY(Bytes(ini).contains("MasterFile=" + master.toUtf8() + "\r\n"));
        h->prompter.Message(Answer::Ok);
        Master().mnuCurrentMasterFileClick();
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("The current Master Spell File is:\r\n") + master);

        // Save Master File writes there.
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        QVERIFY(Master().mnuSaveMasterFileClick());
        QCOMPARE(ReadSpellList(ToPath(master))->Count(), 2);

        // Set Data Directory.
        h->prompter.Exec<TfrmDataDirectory>([this](auto& dirs) { dirs.SelectFolder(folder); },
                                            true);
        h->Frame().mnuDataDirectoriesClick();
        QCOMPARE(h->Frame().DataDirectory(), folder);
        QVERIFY(Bytes(ini).contains("DataDirectory=" + folder.toUtf8() + "\r\n"));

        // The next start reads both back.
        h->app.reset();
        h->app = std::make_unique<VellumarApp>(h->prompter);
        h->Start();
        QCOMPARE(h->Frame().DataDirectory(), folder);
        QVERIFY(h->Context().MasterList());
        QCOMPARE(h->Context().MasterList()->Count(), 2);
        h->prompter.OpenFile({});
        h->Frame().mnuOpenSpellbookClick();
        QCOMPARE(h->prompter.Last().request.directory, folder);
        h->prompter.OpenFile({});
        Master().mnuSetMasterFileClick();
        QCOMPARE(h->prompter.Last().request.directory + "/" + h->prompter.Last().request.fileName,
                 master);
        h->prompter.Exec<TfrmDataDirectory>(
            [this](auto& dirs) { QCOMPARE(dirs.SelectedFolder(), folder); }, false);
        h->Frame().mnuDataDirectoriesClick();
    }
};

QTEST_MAIN(NonAsciiPathTest)
#include "non_ascii_path_test.moc"
