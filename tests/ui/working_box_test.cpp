// The "Working..." box: painted before a task starts, hidden on every way out.

#include "ui/working_box.h"

#include <QLabel>
#include <QTest>
#include <stdexcept>

using namespace vellumar;

class WorkingBoxTest : public QObject {
    Q_OBJECT

private slots:
    void looksAsItShould() {
        TfrmWorking box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Vellumar 95"));
        QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(box.windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(box.palette().color(QPalette::Window), QColor(0, 255, 255));
        QLabel* working = nullptr;
        for (QLabel* label : box.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Working...")) working = label;
        QVERIFY(working);
        QCOMPARE(working->font().pixelSize(), 40);
        QCOMPARE(working->font().styleHint(), QFont::Serif);
    }

    void scopeShowsPaintsAndHides() {
        TfrmWorking box;
        {
            WorkingScope scope(box, QStringLiteral("Filling Spellbook"));
            QVERIFY(box.isVisible());
            QCOMPARE(box.Task(), QStringLiteral("Filling Spellbook"));
            QVERIFY(box.LastShown().painted);
        }
        QVERIFY(!box.isVisible());

        try {
            WorkingScope scope(box, QStringLiteral("Loading Spellbook"));
            throw std::runtime_error("read failure");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!box.isVisible());
        QCOMPARE(box.TasksBegun(), 2);
        QVERIFY(box.LastShown().painted);
    }
};

QTEST_MAIN(WorkingBoxTest)
#include "working_box_test.moc"
