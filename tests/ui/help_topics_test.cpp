// The help file that goes with the program: every topic a window asks for is
// there, every link inside it leads somewhere, and the help window opens at
// the topic.

#include "model/spell_book.h"
#include "output/qt/print_format_dialog.h"
#include "output/qt/print_preview_window.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/help_viewer.h"
#include "rules/caster_tables.h"
#include "support/app_harness.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/frequency_odds_dialog.h"
#include "ui/master_list_window.h"
#include "ui/recovery_dialog.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"

#include <QAction>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace vellumar;
using namespace vellumar::test;

namespace {

QString HelpPath() {
    return QStringLiteral(VELLUMAR_SOURCE_DIR "/resources/Vellumar.HLP");
}

struct HelpLinks {
    QSet<QString> anchors; // names
    QSet<QString> targets; // hrefs
};

// The anchors and links as the help window's document sees them.
HelpLinks ReadHelp() {
    QFile file(HelpPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    HelpLinks links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames()) links.anchors.insert(name);
            if (!format.anchorHref().isEmpty()) links.targets.insert(format.anchorHref());
        }
    return links;
}

QString Anchor(int topic) {
    return QStringLiteral("topic-%1").arg(topic);
}

// The anchors of the line at the top of the help window.
QStringList TopAnchors(HelpViewer& help) {
    auto* browser = help.findChild<QTextBrowser*>();
    if (!browser) return {};
    const QTextBlock block = browser->cursorForPosition(QPoint(8, 8)).block();
    QStringList names;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        names += it.fragment().charFormat().anchorNames();
    return names;
}

// The plain text of a topic: from its anchor up to the next topic's.
QString TopicText(int topic) {
    QFile file(HelpPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    QString text;
    bool inside = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QStringList anchors;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            anchors += it.fragment().charFormat().anchorNames();
        if (!anchors.isEmpty()) {
            if (inside) break;
            inside = anchors.contains(Anchor(topic));
        }
        if (inside) text += block.text() + QLatin1Char('\n');
    }
    return text.simplified();
}

// What F1 opened: the topic and the anchors the help window shows at its top.
struct Opened {
    int topic = 0;
    QStringList anchors;
};

} // namespace

class HelpTopicsTest : public HarnessTest {
    Q_OBJECT
private slots:
    void everyWindowTopicHasItsAnchor_data() {
        QTest::addColumn<int>("topic");
        QTest::newRow("frame") << int(TopicFrame);
        QTest::newRow("spellbook window") << int(TopicSpellBook);
        QTest::newRow("print preview") << int(TopicPrintPreview);
        QTest::newRow("output format") << int(TopicOutputFormat);
        QTest::newRow("new spellbook") << int(TopicNewSpellbook);
        QTest::newRow("data directory") << int(TopicDataDirectory);
        QTest::newRow("odds") << int(TopicOdds);
        QTest::newRow("master list") << int(TopicMasterList);
    }
    void everyWindowTopicHasItsAnchor() {
        QFETCH(int, topic);
        QVERIFY2(ReadHelp().anchors.contains(Anchor(topic)), qPrintable(Anchor(topic)));
    }

    // Whatever windows the program has made, their topics are in the file.
    void topicsOfTheLivingWindowsAreThere() {
        h->Start();
        const QString book =
            h->home.Write(QStringLiteral("topics.spb"), SpellbookV4(1, 9, "Generalist", 'C', {}));
        QVERIFY(h->Frame().OpenSpellbookFile(book));
        const HelpLinks help = ReadHelp();
        QSet<int> topics;
        for (QWidget* widget : QApplication::allWidgets()) {
            const QVariant topic = widget->property("helpTopic");
            if (topic.isValid()) topics.insert(topic.toInt());
        }
        QVERIFY(topics.contains(TopicFrame) && topics.contains(TopicSpellBook));
        for (int topic : topics)
            QVERIFY2(help.anchors.contains(Anchor(topic)), qPrintable(Anchor(topic)));
    }

    void everyLinkInsideTheFileLeadsToATopic() {
        const HelpLinks help = ReadHelp();
        QVERIFY(help.anchors.size() >= 16);
        int inside = 0;
        for (const QString& target : help.targets) {
            if (!target.startsWith(QLatin1Char('#'))) continue;
            QVERIFY2(help.anchors.contains(target.mid(1)), qPrintable(target));
            ++inside;
        }
        QVERIFY(inside >= 16); // the contents at least
    }

    void credits() {
        QFile file(HelpPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll()).simplified();
        for (const char* needed :
             {"This work includes material taken from the System Reference Document 5.1 "
              "(\u201cSRD 5.1\u201d) by Wizards of the Coast LLC",
              "licensed under the Creative Commons Attribution 4.0 International License",
              "https://creativecommons.org/licenses/by/4.0/legalcode",
              "class lists and rules texts were extracted from the SRD 5.1 and reformatted",
              "Copyright (c) 2018-2020 Adrian Padua, Christopher Ward"})
            QVERIFY2(text.contains(QString::fromUtf8(needed)), needed);
    }

    // The help window scrolls the topic's heading to the top.
    void helpWindowOpensAtTheTopic_data() {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("heading");
        QTest::newRow("odds") << 600 << QStringLiteral("Spell selection odds");
        QTest::newRow("master list") << 800 << QStringLiteral("The master spell list");
        QTest::newRow("frame") << 1 << QStringLiteral("Vellumar 95");
    }
    void helpWindowOpensAtTheTopic() {
        QFETCH(int, topic);
        QFETCH(QString, heading);
        h->home.CopyResource(QStringLiteral("Vellumar.HLP"), h->home.Home());
        h->Start();
        HelpViewer& help = h->Context().Help();
        QVERIFY(help.ShowTopic(topic));
        auto* browser = help.findChild<QTextBrowser*>();
        QVERIFY(browser);
        QTRY_COMPARE(browser->cursorForPosition(QPoint(8, 8)).block().text(), heading);
        if (topic != 1) QVERIFY(browser->verticalScrollBar()->value() > 0);
    }

    // F1 in each window, modal dialogs included, opens the help at that window's
    // own topic, not at the contents.
    void f1OpensTheWindowsOwnTopic_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("topic");
        QTest::newRow("frame") << "frame" << int(TopicFrame);
        QTest::newRow("spellbook window") << "spellbook" << int(TopicSpellBook);
        QTest::newRow("print preview") << "preview" << int(TopicPrintPreview);
        QTest::newRow("output format") << "format" << int(TopicOutputFormat);
        QTest::newRow("new spellbook") << "new" << int(TopicNewSpellbook);
        QTest::newRow("data directory") << "datadir" << int(TopicDataDirectory);
        QTest::newRow("odds") << "odds" << int(TopicOdds);
        QTest::newRow("specialty maintenance") << "specialties" << int(TopicSpecialties);
        QTest::newRow("specialty name") << "specialtyname" << int(TopicSpecialtyName);
        QTest::newRow("spell edit") << "spelledit" << int(TopicSpellEdit);
        QTest::newRow("master list") << "master" << int(TopicMasterList);
        QTest::newRow("scroll") << "scroll" << int(TopicScroll);
        QTest::newRow("recover unsaved work") << "recovery" << int(TopicRecovery);
    }
    void f1OpensTheWindowsOwnTopic() {
        QFETCH(QString, window);
        QFETCH(int, topic);
        h->home.CopyResource(QStringLiteral("Vellumar.HLP"), h->home.Home());
        h->UseSampleMasterList();
        h->Start();
        const QString path = h->home.Write(
            QStringLiteral("f1.spb"),
            SpellbookV4(5, 12, "Generalist", 'S',
                        {R"(1,"Alarm","SRD",0,"C","abj")", R"(2,"Blur","SRD",0,"C","ill")"}));
        QVERIFY(h->Frame().OpenSpellbookFile(path));
        TfrmSpellBook* book = h->ActiveSpellBook();
        QVERIFY(book);

        HelpViewer& help = h->Context().Help();
        Opened opened;
        // In the widget that has the focus inside the window, unless `exact`.
        auto pressF1 = [&](QWidget* widget, bool exact = false) {
            QWidget* target = !exact && widget->focusWidget() ? widget->focusWidget() : widget;
            QTest::keyClick(target, Qt::Key_F1);
            opened.topic = help.CurrentTopic();
            QTRY_VERIFY(!TopAnchors(help).isEmpty());
            opened.anchors = TopAnchors(help);
        };
        // A modal dialog: F1 while it is up, then Cancel.
        auto inDialog = [&](std::function<void()> open) {
            h->prompter.Exec([&](QDialog& dialog) { pressF1(&dialog); }, false);
            open();
        };
        if (window == "frame")
            pressF1(h->Frame().mdiArea(), true);
        else if (window == "spellbook")
            pressF1(book);
        else if (window == "master")
            pressF1(h->Context().MasterListWindow());
        else if (window == "preview")
            inDialog([&] { book->mnuPrintPreviewClick(); });
        else if (window == "format")
            inDialog([&] { book->mnuCopytoClipboardClick(); });
        else if (window == "new")
            inDialog([&] { h->Frame().NewChild(); });
        else if (window == "datadir")
            inDialog([&] { h->Frame().mnuDataDirectoriesClick(); });
        else if (window == "odds")
            inDialog([&] { h->Frame().mnuSetOddsClick(); });
        else if (window == "specialties")
            inDialog([&] { h->Frame().mnuSetSpecialtiesClick(); });
        else if (window == "spelledit")
            inDialog([&] { book->mnuCreateNewSpellClick(); });
        else if (window == "scroll")
            inDialog([&] { book->mnuCreateScrollClick(); });
        else if (window == "recovery")
            inDialog([&] {
                RecoveryDialog dialog({{{.path = "/lost.spb"}}}, &h->Frame());
                h->Context().Prompts().Exec(dialog);
            });
        else if (window == "specialtyname") {
            // The name box opens from inside specialty maintenance.
            h->prompter.Exec<TfrmSpecialtyMaintenance>(
                [&](auto& maintenance) {
                    inDialog([&] { maintenance.mnuAddNewSpecialty->trigger(); });
                },
                false);
            h->Frame().mnuSetSpecialtiesClick();
        }
        QCOMPARE(opened.topic, topic);
        QVERIFY2(opened.anchors.contains(Anchor(topic)), qPrintable(opened.anchors.join(' ')));
    }

    // The help says what the program does, with the program's own limits.
    void helpTextMatchesTheProgram_data() {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("says");
        const QString casterLevels =
            QStringLiteral("%1 to %2").arg(MinCasterLevel).arg(MaxCasterLevel);
        QTest::newRow("spellbook caster level")
            << int(TopicSpellBook)
            << QStringLiteral("Wizard Level: the caster level, ") + casterLevels;
        QTest::newRow("spellbook intelligence")
            << int(TopicSpellBook)
            << QStringLiteral("Intelligence: %1 to %2").arg(MinIntelligence).arg(MaxIntelligence);
        QTest::newRow("new book caster level")
            << int(TopicNewSpellbook) << QStringLiteral("Caster Level (") + casterLevels + ")";
        QTest::newRow("spell level")
            << int(TopicSpellEdit)
            << QStringLiteral("Level (%1 to %2)").arg(MinSpellLevel).arg(MaxSpellLevel);
        QTest::newRow("spell name")
            << int(TopicSpellEdit) << QStringLiteral("A spell needs a name");
        QTest::newRow("font colour") << int(TopicPrintPreview) << QStringLiteral("Colour...");
        QTest::newRow("pdf copies")
            << int(TopicPrintPreview) << QStringLiteral("The number of copies you choose");
        QTest::newRow("help find") << int(TopicFrame) << QStringLiteral("Find (Ctrl+F)");
        QTest::newRow("specialty name")
            << int(TopicSpecialtyName) << QStringLiteral("Add New Specialty");
    }
    void helpTextMatchesTheProgram() {
        QFETCH(int, topic);
        QFETCH(QString, says);
        const QString text = TopicText(topic);
        QVERIFY2(text.contains(says), qPrintable(says + QStringLiteral("\n in: ") + text));
    }

    // Every item of the Options menu has its row in the main window's topic.
    void mainTopicListsEveryOptionsItem() {
        h->Start();
        const QString help = TopicText(TopicFrame);
        for (const QAction* item : h->Frame().menuBar()->actions().at(1)->menu()->actions())
            QVERIFY2(help.contains(QString(item->text()).remove('&')), qPrintable(item->text()));
    }

    // The caster level once stopped at 29 in the spellbook window.
    void noTopicLimitsTheCasterLevelBelowTheProgram() {
        for (int topic : {int(TopicSpellBook), int(TopicNewSpellbook)}) {
            const QString text = TopicText(topic);
            QVERIFY(!text.isEmpty());
            QVERIFY2(!text.contains(QString::number(MaxCasterLevel - 1)), qPrintable(text));
        }
    }
};

QTEST_MAIN(HelpTopicsTest)
#include "help_topics_test.moc"
