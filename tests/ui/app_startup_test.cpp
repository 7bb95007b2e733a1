// Start-up: settings, odds, specialty table, master list, help, and the seed.

#include "files/spell_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "output/qt/print_format_dialog.h"
#include "platform/program_settings.h"
#include "platform/qt/help_viewer.h"
#include "rules/odds.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"
#include "ui/working_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QPrinter>
#include <QTest>

using namespace vellumar;
using namespace vellumar::test;

class AppStartupTest : public HarnessTest {
    Q_OBJECT

private slots:
    void firstStartWithoutAnyFile() {
        h->Context().Odds() = {1, 1, 1, 1, 1};
        h->Start();
        QCOMPARE(h->Context().Odds(), (std::array<int32_t, 5>{100, 20, 10, 5, 1}));
        QCOMPARE(h->Frame().DataDirectory(), h->home.Home());
        QVERIFY(h->Context().SpecialtiesAreBuiltIn());
        QCOMPARE(Rows(h->Context().BookParm().lbSpecialty),
                 (QStringList{"Generalist", "Abjurer", "Conjurer", "Diviner", "Enchanter",
                              "Illusionist", "Invoker", "Necromancer", "Transmuter"}));
        QCOMPARE(QString::fromStdString(h->Context().Settings().Path()),
                 h->home.Home() + "Vellumar.INI");
        QVERIFY(!QFile::exists(h->home.Home() + "Vellumar.INI")); // created by the first write only
        QVERIFY(h->Context().MasterList() == nullptr);
        const TfrmWorking& working = h->Context().Working();
        QCOMPARE(working.TasksBegun(), 1);
        QCOMPARE(working.LastShown().task, QStringLiteral("Loading Master Spell List"));
        QVERIFY(working.LastShown().painted);
        QVERIFY(!h->Context().Working().isVisible());
        QVERIFY(h->Frame().isVisible());
        QVERIFY(!h->Context().BookParm().isVisible());
    }

    void windowsAreCreatedHiddenInOrder() {
        h->Start();
        AppContext& context = h->Context();
        // The frame owns them all; its children stand in the order of creation.
        const QObjectList children = h->Frame().children();
        const QList<QWidget*> order{&context.BookParm(), &context.PrintFormat(),
                                    context.MasterListWindow(), &context.SpellEdit(),
                                    &context.SpecialtyMaintenance()};
        qsizetype last = -1;
        for (QWidget* window : order) {
            const qsizetype at = children.indexOf(window);
            QVERIFY2(at > last, qPrintable(window->objectName()));
            QVERIFY(!window->isVisible());
            last = at;
        }
        QCOMPARE(context.PrintFormat().windowTitle(), QStringLiteral("Output Format"));
        QVERIFY(context.Printer().resolution() > 300); // high resolution
    }

    void readsTheOddsInIndexOrder_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QList<int>>("odds");
        QTest::newRow("all five") << QByteArray("Restricted=50\r\nVery Rare=0x10\r\nRARE=7\r\n"
                                                "uncommon=3\r\nCommon=2\r\n")
                                  << QList<int>{50, 16, 7, 3, 2};
        QTest::newRow("hex and words")
            << QByteArray("Common=0x10\r\nRare=often\r\n") << QList<int>{100, 20, 10, 5, 16};
        QTest::newRow("a word is the default")
            << QByteArray("Common=always\r\n") << QList<int>{100, 20, 10, 5, 1};
    }
    void readsTheOddsInIndexOrder() {
        QFETCH(QByteArray, section);
        QFETCH(QList<int>, odds);
        h->home.Write("Vellumar.INI", "; odds\r\n[SpellFrequencyOdds]\r\n" + section);
        h->Start();
        for (int k = 0; k < 5; ++k) QCOMPARE(h->Context().Odds()[k], odds[k]);
    }

    void specialtyFileTakesThePlaceOfTheBuiltInTable() {
        h->home.Write("Specialty.dat", "Pyromancer\r\ni/e\r\nc/s\r\nGeomancer\r\nalt\r\n\r\n");
        h->Start();
        QVERIFY(!h->Context().SpecialtiesAreBuiltIn());
        QCOMPARE(Rows(h->Context().BookParm().lbSpecialty),
                 (QStringList{"Generalist", "Pyromancer", "Geomancer"}));
    }

    void masterListFromTheWorkingFolderFirst() {
        h->UseMasterList("1,\"Alarm\",\"X\",0,\"C\",\"abj\"\r\n \r\n");
        h->home.CopyResource("MASTER.DAT", h->home.Home());
        h->Start();
        QVERIFY(h->Context().MasterList());
        QCOMPARE(h->Context().MasterList()->Count(), 1);
        QVERIFY(!h->Context().MasterList()->Modified);
    }

    void bareMasterFileFallsBackToTheProgramFolder() {
        h->home.CopyResource("MASTER.DAT", h->home.Home());
        h->Start();
        QVERIFY(h->Context().MasterList());
        QCOMPARE(h->Context().MasterList()->Count(), 190);
        // The folder found stays the master file's folder for the run.
        QDir::setCurrent(h->home.Home() + "..");
        QCOMPARE(QString::fromStdString(h->Context().MasterListWindow()->MasterFilePath()),
                 h->home.Home() + "MASTER.DAT");
    }

    void masterFileNamedBySettings() {
        QDir(h->home.Working()).mkpath("lists");
        const QString list = h->home.Write(h->home.Working() + "lists/mine.dat",
                                           "2,\"Web\",\"X\",0,\"C\",\"c/s\"\r\n \r\n");
        h->home.Write("Vellumar.INI", "[Vellumar]\r\nMasterFile=" + list.toUtf8() + "\r\n");
        h->Start();
        QVERIFY(h->Context().MasterList());
        QCOMPARE(h->Context().MasterList()->LevelCount[2], 1);
    }

    void helpKeyOpensTheTopicOfTheWindow() {
        h->home.CopyResource("Vellumar.HLP", h->home.Home());
        h->Start();
        HelpViewer& help = h->Context().Help();
        QCOMPARE(help.HelpFile(), h->home.Home() + "Vellumar.HLP");
        QTest::keyClick(h->Frame().mdiArea(), Qt::Key_F1);
        QCOMPARE(help.CurrentTopic(), 1);
        QVERIFY(help.isVisible());

        h->prompter.Exec({}, true);
        h->Frame().NewChild();
        QTest::keyClick(h->ActiveSpellBook()->lbSpells, Qt::Key_F1);
        QCOMPARE(help.CurrentTopic(), 100);

        h->prompter.Exec([&](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_F1); }, false);
        h->Frame().NewChild();
        QCOMPARE(help.CurrentTopic(), 400);

        h->Frame().mnuHelpContentsClick();
        QCOMPARE(help.CurrentTopic(), 1);
    }

    void missingHelpFileIsReported() {
        h->Start();
        h->prompter.Message(Answer::Ok);
        h->Frame().mnuHelpContentsClick();
        QCOMPARE(h->prompter.Last().kind, BoxKind::Error);
        QVERIFY(h->prompter.Last().text.contains(h->home.Home() + "Vellumar.HLP"));
    }

    // Options, Reopen Books at Start: the files open at a clean exit, at their levels.
    void reopensTheBooksOfTheLastExit_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("removeFirst");
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<QStringList>("reopened");
        const QStringList both{"a.spb 3", "b.spb 5"};
        QTest::newRow("in order at their levels") << true << false << false << both;
        QTest::newRow("a removed book") << true << true << false << QStringList{"b.spb 5"};
        QTest::newRow("off") << false << false << false << QStringList{};
        QTest::newRow("untitled left out") << true << false << true << both;
    }
    void reopensTheBooksOfTheLastExit() {
        QFETCH(bool, on);
        QFETCH(bool, removeFirst);
        QFETCH(bool, untitled);
        QFETCH(QStringList, reopened);
        h->UseSampleMasterList();
        h->Start();
        if (on) h->Frame().findChild<QAction*>("mnuReopenBooks")->trigger();
        QStringList paths;
        for (const auto& [name, level] : {std::pair("a.spb", 3), std::pair("b.spb", 5)}) {
            paths << h->home.Write(h->home.Working() + name,
                                   SpellbookV4(9, 12, "Generalist", 'C', {}));
            QVERIFY(h->Frame().OpenSpellbookFile(paths.back()));
            h->ActiveSpellBook()->ShowSpellLevel(level);
            if (untitled && paths.size() == 1) {
                h->prompter.Exec({}, true).Message(Answer::No); // the new book is not saved
                h->Frame().NewChild();
            }
        }
        QVERIFY(h->Frame().close());
        if (removeFirst) QVERIFY(QFile::remove(paths[0]));
        h->app.reset();
        h->app = std::make_unique<VellumarApp>(h->prompter);
        if (removeFirst) h->prompter.Message(Answer::Ok);
        h->app->Start(1, LastSession::Reopen);
        QStringList shown;
        for (const TfrmSpellBook* window : h->SpellBookWindows())
            shown << QFileInfo(window->Caption()).fileName() + ' ' +
                         QString::number(window->SpellLevel());
        QCOMPARE(shown, reopened);
        if (!removeFirst) return;
        h->prompter.OpenFile(paths[0]).Message(Answer::Ok);
        h->Frame().mnuOpenSpellbookClick(); // Open's box for the same file
        const auto& boxes = h->prompter.Records();
        QCOMPARE(boxes[boxes.size() - 3].text, boxes.back().text);
        QCOMPARE(boxes[boxes.size() - 3].informative, boxes.back().informative);
    }

    void sameSeedSameBook() {
        std::vector<std::string> first;
        for (int run = 0; run < 2; ++run) {
            h.reset(); // the old folders go first
            h = std::make_unique<AppHarness>();
            h->UseSampleMasterList();
            h->Start(42);
            h->prompter.Exec({}, true); // caster level 1, Generalist, Common
            h->Frame().NewChild();
            std::vector<std::string> names = Names(h->ActiveSpellBook()->Book());
            QVERIFY(!names.empty());
            if (run == 0)
                first = names;
            else
                QCOMPARE(names, first);
        }
    }
};

QTEST_MAIN(AppStartupTest)
#include "app_startup_test.moc"
