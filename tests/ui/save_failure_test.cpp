// Every save command when its file cannot be written: a folder that cannot be
// written, a full disk, a folder where the file should be, and a file where a
// folder should be. The old file stays byte for byte, the user is told which
// file failed, and what was not saved stays marked unsaved.

#include "files/safe_write.h"
#include "files/spell_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/text_conversion.h"
#include "rules/odds.h"
#include "support/app_harness.h"
#include "support/fault_folders.h"
#include "support/spell_lists.h"
#include "ui/data_directory_dialog.h"
#include "ui/frame_window.h"
#include "ui/frequency_odds_dialog.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/specialty_name_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spin_edit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace vellumar;
using namespace vellumar::test;

namespace {

enum class Command {
    BookSave,
    BookSaveAs,
    Export,
    MasterSave,
    SpecialtySave,
    OddsOk,
    DataDirectoryOk,
    SetMasterFile
};

enum class Fault {
    ReadOnlyFolder,  // the target's folder cannot be written
    FullDisk,        // the disk fills up after a few bytes (the writer's seam)
    RealFullDisk,    // a small tmpfs with no byte left
    TargetIsAFolder, // a folder stands where the file should be
    FolderIsAFile    // the target's folder path goes through a regular file
};

const QByteArray MasterFile = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                              "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
                              " \r\n";
const QByteArray OldIni = "; the user's own notes\r\n[Vellumar]\r\nDataDirectory=/old/folder/\r\n"
                          "\r\n[SpellFrequencyOdds]\r\nCommon=3\r\n";

struct CommandFile {
    const char* name;
    QByteArray oldBytes;
};

CommandFile FileOf(Command command) {
    switch (command) {
    case Command::BookSave:
    case Command::BookSaveAs:
        return {"book.spb",
                SpellbookV4(3, 12, "Generalist", 'C', {"1,\"Old\",\"B\",1,\"C\",\"cat\""})};
    case Command::Export:
        return {"export.dat", "1,\"Old\",\"B\",1,\"C\",\"cat\"\r\n \r\n"};
    case Command::MasterSave:
        return {"MASTER.DAT", MasterFile};
    case Command::SpecialtySave:
        return {"Specialty.dat", "Old\r\nabj\r\n\r\n"};
    default:
        return {"Vellumar.INI", OldIni};
    }
}

// Every file and folder under a folder, with the bytes of each file.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QByteArray content = "<folder>";
        if (!QFileInfo(path).isDir()) {
            QFile file(path);
            content = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
        }
        entries.insert(path.mid(folder.size()), content);
    }
    return entries;
}

QString MasterSaveQuestion(const QString& path) {
    return QStringLiteral("Error Writing Master Spell File\r\n") + path +
           QStringLiteral("\r\nDo you wish to save the Master Spell List to another file?");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Fault)

class SaveFailureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppHarness> h;
    TfrmSpellBook* window_ = nullptr;
    std::unique_ptr<tSpecialtyList> table_;
    std::unique_ptr<TfrmSpecialtyMaintenance> specialties_;
    QString dataDirectoryBefore_;
    const TSpellBook* masterBefore_ = nullptr;

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    TfrmSpellBook& NewBook() {
        h->prompter.Exec({}, true);
        h->Frame().NewChild();
        return *h->ActiveSpellBook();
    }
    TfrmSpellBook& OpenBook(const QString& path) {
        if (!h->Frame().OpenSpellbookFile(path)) QTest::qFail("not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }

    // Brings the command to the point where it saves, before the fault is there.
    void Prepare(Command command, const QString& target, bool oldFileThere) {
        switch (command) {
        case Command::BookSave:
            if (oldFileThere) {
                window_ = &OpenBook(target);
                window_->spnWizardIntelligence->setValue(15);
            } else {
                window_ = &NewBook();
                window_->SetCaption(target);
            }
            break;
        case Command::BookSaveAs:
            window_ = &NewBook();
            break;
        case Command::Export:
            window_ = &OpenBook(h->home.Write(
                "mine.spb", SpellbookV4(5, 12, "Generalist", 'C',
                                        {"1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\""})));
            window_->spnWizardIntelligence->setValue(15);
            break;
        case Command::MasterSave:
            SelectRows(Master().lbSpells, {0});
            Master().mnuDeleteSpellClick();
            QVERIFY(h->Context().MasterList()->Modified);
            QVERIFY(h->Context().Settings().File().WriteString("Vellumar", "MasterFile",
                                                               ToPath(target)));
            break;
        case Command::SpecialtySave:
            table_ = BuiltInSpecialties();
            specialties_ = std::make_unique<TfrmSpecialtyMaintenance>(
                h->prompter, *table_, ToPath(target), [] {}, [] {});
            h->prompter.Exec<TfrmSpecialtyName>(
                [](auto& name) { name.ebSpecialtyName->setText("Mage"); }, true);
            specialties_->mnuAddNewSpecialty->trigger();
            QVERIFY(table_->Modified);
            break;
        case Command::OddsOk:
        case Command::DataDirectoryOk:
        case Command::SetMasterFile:
            h->Context().OpenSettings(ToPath(target));
            dataDirectoryBefore_ = h->Frame().DataDirectory();
            masterBefore_ = h->Context().MasterList();
            break;
        }
    }

    // Runs the save with its answers queued: the error box is answered OK.
    void Run(Command command, const QString& target) {
        switch (command) {
        case Command::BookSave:
            h->prompter.Message(Answer::Ok);
            window_->mnuSaveClick();
            break;
        case Command::BookSaveAs:
            h->prompter.SaveFile(target).Message(Answer::Ok);
            window_->mnuSaveAsClick();
            break;
        case Command::Export:
            h->prompter.SaveFile(target).Message(Answer::Ok);
            window_->mnuExportSpellClick();
            break;
        case Command::MasterSave:
            h->prompter.Message(Answer::No); // no other file
            QVERIFY(!Master().mnuSaveMasterFileClick());
            break;
        case Command::SpecialtySave:
            h->prompter.Message(Answer::Ok);
            specialties_->mnuSaveChanges->trigger();
            break;
        case Command::OddsOk:
            h->prompter.Exec<TfrmFrequencyOdds>(
                [](auto& odds) {
                    odds.lbFrequency->setCurrentRow(0);
                    odds.spnOdds->setValue(7);
                    QTest::mouseClick(odds.bnOK, Qt::LeftButton);
                },
                true);
            h->prompter.Message(Answer::Ok);
            h->Frame().mnuSetOddsClick();
            break;
        case Command::DataDirectoryOk:
            QDir(h->home.Working()).mkpath("books");
            h->prompter.Exec<TfrmDataDirectory>(
                [this](auto& folders) { folders.SelectFolder(h->home.Working() + "books"); }, true);
            h->prompter.Message(Answer::Ok);
            h->Frame().mnuDataDirectoriesClick();
            break;
        case Command::SetMasterFile:
            h->prompter
                .OpenFile(h->home.Write(h->home.Working() + "other.dat",
                                        "2,\"Web\",\"SRD\",3,\"C\",\"Conjuration\"\r\n"))
                .Message(Answer::Ok);
            Master().mnuSetMasterFileClick();
            break;
        }
    }

    QString ExpectedError(Command command, const QString& target) {
        switch (command) {
        case Command::BookSave:
        case Command::BookSaveAs:
            return QStringLiteral("Error Writing Spellbook File\r\n") + target;
        case Command::Export:
            return QStringLiteral("Error Writing Spell File\r\n") + target;
        case Command::MasterSave:
            return MasterSaveQuestion(target);
        case Command::SpecialtySave:
        case Command::OddsOk:
            return QStringLiteral("Unable to write to ") + target;
        case Command::DataDirectoryOk:
        case Command::SetMasterFile:
            return QStringLiteral("Error Writing Settings File\r\n") + target;
        }
        return {};
    }

    // What was not saved is still marked so, and nothing else changed.
    void CheckUnsaved(Command command, const QString& target) {
        switch (command) {
        case Command::BookSave:
            QVERIFY(window_->Book().Modified);
            QVERIFY(window_->isWindowModified());
            QCOMPARE(window_->Caption(), target);
            break;
        case Command::BookSaveAs:
            QVERIFY(window_->Book().Modified);
            QCOMPARE(window_->Caption(), QStringLiteral("untitled"));
            break;
        case Command::Export:
            QVERIFY(window_->Book().Modified);
            QVERIFY(window_->Caption().endsWith(QStringLiteral("/mine.spb")));
            break;
        case Command::MasterSave:
            QVERIFY(h->Context().MasterList()->Modified);
            QVERIFY(Master().mnuSaveMasterFile->isEnabled());
            break;
        case Command::SpecialtySave:
            QVERIFY(table_->Modified);
            QCOMPARE(table_->Count(), 9);
            break;
        case Command::OddsOk:
            // The dialog closes; the new odds stay in effect for the run.
            QCOMPARE(h->Context().Odds()[4], 7);
            break;
        case Command::DataDirectoryOk:
            QCOMPARE(h->Frame().DataDirectory(), dataDirectoryBefore_);
            break;
        case Command::SetMasterFile:
            // The command ends at the failed write: the old list stays loaded.
            QCOMPARE(h->Context().MasterList(), masterBefore_);
            QCOMPARE(h->Context().MasterList()->Count(), 3);
            break;
        }
    }

private slots:
    void init() {
        h = std::make_unique<AppHarness>();
        h->home.Write(h->home.Working() + "MASTER.DAT", MasterFile);
        h->Start();
        QVERIFY(h->Context().MasterList());
    }
    void cleanup() {
        SetWriteFailureAfterBytesForTesting(-1);
        h->Verify();
        specialties_.reset();
        table_.reset();
        window_ = nullptr;
        h.reset();
    }

    void failedSaveKeepsTheOldFileAndTheChanges_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Fault>("fault");
        const std::pair<const char*, Command> commands[] = {
            {"book save", Command::BookSave},
            {"book save as", Command::BookSaveAs},
            {"export", Command::Export},
            {"master save", Command::MasterSave},
            {"specialty save changes", Command::SpecialtySave},
            {"odds OK", Command::OddsOk},
            {"data directory OK", Command::DataDirectoryOk},
            {"set master file", Command::SetMasterFile},
        };
        const std::pair<const char*, Fault> faults[] = {
            {"read-only folder", Fault::ReadOnlyFolder},
            {"full disk", Fault::FullDisk},
            {"real full disk", Fault::RealFullDisk},
            {"target is a folder", Fault::TargetIsAFolder},
            {"folder is a file", Fault::FolderIsAFile},
        };
        for (const auto& [commandName, command] : commands)
            for (const auto& [faultName, fault] : faults)
                QTest::addRow("%s, %s", commandName, faultName) << command << fault;
    }
    void failedSaveKeepsTheOldFileAndTheChanges() {
        QFETCH(Command, command);
        QFETCH(Fault, fault);
        const CommandFile file = FileOf(command);
        const QString area = h->home.Working() + "area/";
        const QString folder = area + "folder";
        QVERIFY(QDir().mkpath(folder));

        std::unique_ptr<SmallDisk> disk;
        QString target = folder + "/" + file.name;
        switch (fault) {
        case Fault::ReadOnlyFolder:
        case Fault::FullDisk:
            QVERIFY(WriteBytes(target, file.oldBytes));
            break;
        case Fault::RealFullDisk:
            disk = std::make_unique<SmallDisk>(folder, 64 * 1024);
            if (!disk->Mounted()) QSKIP(qPrintable(disk->WhyNot()));
            QVERIFY(WriteBytes(target, file.oldBytes));
            break;
        case Fault::TargetIsAFolder:
            QVERIFY(QDir().mkpath(target));
            QVERIFY(WriteBytes(target + "/inside.txt", "inside"));
            break;
        case Fault::FolderIsAFile:
            QVERIFY(WriteBytes(area + "blocker", "a file, not a folder"));
            target = area + "blocker/" + file.name;
            break;
        }
        const bool oldFileThere = fault == Fault::ReadOnlyFolder || fault == Fault::FullDisk ||
                                  fault == Fault::RealFullDisk;
        Prepare(command, target, oldFileThere);
        if (QTest::currentTestFailed()) return;
        h->prompter.ClearRecords();

        std::unique_ptr<ReadOnlyFolder> readOnly;
        if (fault == Fault::ReadOnlyFolder) {
            readOnly = std::make_unique<ReadOnlyFolder>(folder);
            if (!readOnly->Active()) QSKIP(qPrintable(readOnly->WhyNot()));
        }
        if (fault == Fault::RealFullDisk) QVERIFY(disk->Fill());
        const QMap<QString, QByteArray> before = Snapshot(area);

        if (fault == Fault::FullDisk) SetWriteFailureAfterBytesForTesting(10);
        Run(command, target);
        SetWriteFailureAfterBytesForTesting(-1);
        h->prompter.VerifyDone();

        QCOMPARE(Snapshot(area), before);
        QVERIFY(!h->prompter.Records().empty());
        const PromptRecord& box = h->prompter.Last();
        QCOMPARE(box.type, PromptType::Message);
        // The master list offers to save elsewhere; every other save just reports.
        const bool master = command == Command::MasterSave;
        QCOMPARE(box.kind, master ? BoxKind::Confirmation : BoxKind::Error);
        QCOMPARE(box.buttons, master ? BoxButtons::YesNo : BoxButtons::Ok);
        QCOMPARE(box.text, ExpectedError(command, target));
        // Every box carries the system's reason, the settings file's too.
        QVERIFY2(!box.informative.isEmpty(), "the reason is shown under the text");
        if (fault == Fault::FullDisk || fault == Fault::RealFullDisk)
            QCOMPARE(box.informative, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        CheckUnsaved(command, target);

        // With the fault gone the same command saves, so the failure was the fault's.
        readOnly.reset();
        if (disk) disk->Unfill();
        if (oldFileThere) {
            h->prompter.ClearRecords();
            switch (command) {
            case Command::BookSave:
                window_->mnuSaveClick();
                QVERIFY(!window_->Book().Modified);
                break;
            case Command::MasterSave:
                QVERIFY(Master().mnuSaveMasterFileClick());
                break;
            case Command::SpecialtySave:
                specialties_->mnuSaveChanges->trigger();
                QVERIFY(!table_->Modified);
                break;
            default:
                return;
            }
            QVERIFY(h->prompter.Records().empty());
            QVERIFY(Snapshot(area) != before);
        }
    }

    // The master list's offer of another file, where that file fails too.
    void masterListSavedElsewhereWhereThatFailsToo() {
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        const QString masterPath = h->home.Working() + "MASTER.DAT";
        const QString elsewhere = h->home.Working() + "elsewhere.dat";
        QVERIFY(QDir().mkpath(elsewhere)); // a folder in the chosen file's place
        SetWriteFailureAfterBytesForTesting(0);
        h->prompter.Message(Answer::Yes, [] { SetWriteFailureAfterBytesForTesting(-1); })
            .SaveFile(elsewhere)
            .Message(Answer::Ok);
        QVERIFY(!Master().mnuSaveMasterFileClick());
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Writing Master Spell File\r\n") + elsewhere);
        QVERIFY(h->Context().MasterList()->Modified);
        QVERIFY(Master().mnuSaveMasterFile->isEnabled());
        QCOMPARE(Master().MasterFilePath(), ToPath(masterPath));
        QCOMPARE(Snapshot(h->home.Working()).value("MASTER.DAT"), MasterFile);
        QVERIFY(QFileInfo(elsewhere).isDir());
    }

    // Yes at the close question with a save that fails: nothing closes.
    // A save that worked but split a hard link says so in one box; a caster
    // level still being typed is saved within its limits, so the book opens again.
    void savedBookSaysWhatItLostAndOpensAgain() {
        const QString path = h->home.Write("book.spb", FileOf(Command::BookSave).oldBytes);
        const QString link = h->home.Working() + "same-book.spb";
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) ==
                0);
        TfrmSpellBook& window = OpenBook(path);
        window.spnWizardLevel->selectAll();
        QTest::keyClicks(window.spnWizardLevel, "35");
        QCOMPARE(window.Book().CasterLevel, 35); // as typed, until the field is left
        h->prompter.Message(Answer::Ok);
        window.mnuSaveClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Warning);
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("The file\r\n") + path + QStringLiteral("\r\nwas saved, but:"));
        QVERIFY(!window.Book().Modified);
        const auto reopened = ReadSpellbookFile(ToPath(path));
        QVERIFY(reopened);
        QCOMPARE(reopened->CasterLevel, 30);
    }

    void closeQuestionWithAFailingSaveKeepsTheWindowOpen() {
        const QString path = h->home.Write("book.spb", FileOf(Command::BookSave).oldBytes);
        TfrmSpellBook& window = OpenBook(path);
        window.spnWizardIntelligence->setValue(15);
        SetWriteFailureAfterBytesForTesting(0);

        h->prompter.Message(Answer::Yes).Message(Answer::Ok);
        window.mnuCloseClick();
        QCOMPARE(h->prompter.Last().text,
                 QStringLiteral("Error Writing Spellbook File\r\n") + path);
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));
        QVERIFY(window.Book().Modified);

        // The program's end stops at the same book.
        h->prompter.Message(Answer::Yes).Message(Answer::Ok);
        QVERIFY(!h->Frame().close());
        QCOMPARE(h->SpellBookWindows().size(), size_t(1));

        // And at the master list.
        SetWriteFailureAfterBytesForTesting(-1);
        window.SetModified(false);
        const QString masterPath = h->home.Working() + "MASTER.DAT";
        SelectRows(Master().lbSpells, {0});
        Master().mnuDeleteSpellClick();
        SetWriteFailureAfterBytesForTesting(0);
        h->prompter.Message(Answer::Yes).Message(Answer::No);
        QVERIFY(!h->Frame().close());
        QCOMPARE(h->prompter.Last().text, MasterSaveQuestion(masterPath));
        QVERIFY(h->Context().MasterList()->Modified);
        QCOMPARE(Snapshot(h->home.Working()).value("MASTER.DAT"), MasterFile);
        SetWriteFailureAfterBytesForTesting(-1);
        h->prompter.Message(Answer::Yes);
        QVERIFY(h->Frame().close());
    }
};

// The process takes mounts of its own before anything starts a thread, so
// that the tests can mount a small disk and read-only folders.
int main(int argc, char** argv) {
    EnterPrivateMountNamespace();
    QApplication app(argc, argv);
    SaveFailureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "save_failure_test.moc"
