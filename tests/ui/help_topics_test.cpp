// The help file that goes with the program: every topic a window asks for is
// there, every link inside it leads somewhere, and the help window opens at
// the topic.

#include "output/qt/print_format_dialog.h"
#include "output/qt/print_preview.h"
#include "platform/qt/help_viewer.h"
#include "support/app_harness.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/frm_frequency_odds.h"

#include <QApplication>
#include <QFile>
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

} // namespace

class HelpTopicsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { h = std::make_unique<AppHarness>(); }
    void cleanup() {
        h->Verify();
        h.reset();
    }

    void everyWindowTopicHasItsAnchor_data() {
        QTest::addColumn<int>("topic");
        QTest::newRow("frame") << int(TopicFrame);
        QTest::newRow("spellbook window") << int(TopicSpellBook);
        QTest::newRow("print preview") << int(TopicPrintPreview);
        QTest::newRow("preview window's own") << TfrmPrintPreview::HelpTopic;
        QTest::newRow("output format") << int(TopicOutputFormat);
        QTest::newRow("output format dialog's own") << TfrmPrintFormat::HelpTopic;
        QTest::newRow("new spellbook") << int(TopicNewSpellbook);
        QTest::newRow("data directory") << int(TopicDataDirectory);
        QTest::newRow("odds") << int(TopicOdds);
        QTest::newRow("odds dialog's own") << TfrmFrequencyOdds::HelpTopic;
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
              "spell descriptions are not included",
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

private:
    std::unique_ptr<AppHarness> h;
};

QTEST_MAIN(HelpTopicsTest)
#include "help_topics_test.moc"
