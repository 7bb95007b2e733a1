// The help window: Back, Forward and Find, and it can be used while a modal
// dialog is up.

#include "platform/qt/help_viewer.h"
#include "support/scripted_prompter.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

using namespace vellumar;
using vellumar::test::ScriptedPrompter;

namespace {

// The anchors of the line at the top of the help window.
QStringList TopAnchors(HelpViewer& help) {
    const QTextBlock block = help.Browser()->cursorForPosition(QPoint(8, 8)).block();
    QStringList names;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        names += it.fragment().charFormat().anchorNames();
    return names;
}

// Keys as the window system delivers them: a window that a modal dialog blocks
// never gets them.
void Type(QWidget* window, const QString& text) {
    for (QChar c : text) QTest::keyClick(window->windowHandle(), c.toLatin1());
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        home = std::make_unique<QWidget>();
        home->show();
        viewer = new HelpViewer(prompter, home.get());
        viewer->SetHelpFile(QStringLiteral(VELLUMAR_SOURCE_DIR "/resources/Vellumar.HLP"));
    }
    void cleanup() {
        prompter.VerifyDone();
        home.reset();
    }

    void backAndForwardWalkTheTopicsSeen() {
        HelpViewer& help = *viewer;
        QVERIFY(help.ShowTopic(600));
        QVERIFY(!help.actBack->isEnabled());
        QVERIFY(help.ShowTopic(800));
        QTRY_VERIFY(TopAnchors(help).contains("topic-800"));
        QVERIFY(help.actBack->isEnabled());
        QVERIFY(!help.actForward->isEnabled());

        help.actBack->trigger();
        QTRY_VERIFY(TopAnchors(help).contains("topic-600"));
        QVERIFY(help.actForward->isEnabled());
        help.actForward->trigger();
        QTRY_VERIFY(TopAnchors(help).contains("topic-800"));

        // A link followed inside the text is a step too.
        help.Browser()->setSource(QUrl(QStringLiteral("#topic-1200")));
        QTRY_VERIFY(TopAnchors(help).contains("topic-1200"));
        help.actBack->trigger();
        QTRY_VERIFY(TopAnchors(help).contains("topic-800"));
    }

    void findGoesFromPlaceToPlaceAndRoundAgain() {
        HelpViewer& help = *viewer;
        QVERIFY(help.ShowTopic(1));
        QVERIFY(!help.pnlFind->isVisible());
        QTRY_VERIFY(help.isActiveWindow());
        QTest::keyClick(help.windowHandle(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(help.pnlFind->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), help.ebFind);

        const QString word = QStringLiteral("Restricted");
        const int places = help.Browser()->toPlainText().count(word);
        QVERIFY(places >= 3);
        help.ebFind->setText(word);
        QList<int> found;
        for (int i = 0; i <= places; ++i) {
            QVERIFY(help.FindNext());
            QCOMPARE(help.Browser()->textCursor().selectedText(), word);
            found << help.Browser()->textCursor().selectionStart();
        }
        // Every place once, in order, then the first again.
        for (int i = 1; i < places; ++i) QVERIFY(found[i] > found[i - 1]);
        QCOMPARE(found[places], found[0]);
        QVERIFY(help.FindNext(true));
        QCOMPARE(help.Browser()->textCursor().selectionStart(), found[places - 1]);

        // A new search, typed in, starts at the topic on view, wherever the
        // text cursor was left.
        help.Browser()->setTextCursor(QTextCursor(help.Browser()->document()));
        QVERIFY(help.ShowTopic(1200));
        QTRY_VERIFY(TopAnchors(help).contains("topic-1200"));
        const int topic = help.Browser()->cursorForPosition(QPoint(8, 8)).position();
        help.ebFind->clear();
        QTest::keyClicks(help.ebFind, QStringLiteral("scroll"));
        QCOMPARE(help.Browser()->textCursor().selectedText().toLower(), QStringLiteral("scroll"));
        QVERIFY2(help.Browser()->textCursor().selectionStart() >= topic,
                 qPrintable(QString::number(help.Browser()->textCursor().selectionStart()) + " < " +
                            QString::number(topic)));

        help.ebFind->setText(QStringLiteral("no such words anywhere"));
        QVERIFY(!help.FindNext());
        QTest::keyClick(help.ebFind, Qt::Key_Escape);
        QVERIFY(!help.pnlFind->isVisible());
    }

    // F1 in a modal dialog opens a help window that takes keys and can be
    // searched while the dialog stays up; the help outlives the dialog.
    void usableWhileAModalDialogIsUp() {
        auto* dialog = new QDialog(home.get());
        dialog->setProperty("helpTopic", 600);
        new QPushButton(QStringLiteral("OK"), dialog);
        dialog->setWindowModality(Qt::ApplicationModal);
        const QRect screen = dialog->screen()->availableGeometry();
        dialog->setGeometry(screen.left() + 20, screen.top() + 40, 300, 200);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        // What the program's help key does in the dialog.
        HelpViewer& help = *viewer;
        QVERIFY(help.ShowTopic(dialog->property("helpTopic").toInt()));
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(!help.frameGeometry().intersects(dialog->frameGeometry()));
        QVERIFY(screen.contains(help.frameGeometry()));
        QTRY_VERIFY(help.isActiveWindow());
        QTest::keyClick(help.windowHandle(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(help.pnlFind->isVisible());
        help.ebFind->setFocus();
        Type(&help, QStringLiteral("odds"));
        QCOMPARE(help.ebFind->text(), QStringLiteral("odds"));
        QCOMPARE(help.Browser()->textCursor().selectedText().toLower(), QStringLiteral("odds"));

        dialog->close();
        delete dialog;
        QVERIFY(help.isVisible());
        QCOMPARE(help.parentWidget(), home.get());
        Type(&help, QStringLiteral("!"));
        QCOMPARE(help.ebFind->text(), QStringLiteral("odds!"));
    }

private:
    ScriptedPrompter prompter;
    std::unique_ptr<QWidget> home; // the frame the help belongs to
    HelpViewer* viewer = nullptr;
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
