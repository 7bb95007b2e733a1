#include "output/qt/print_format_dialog.h"
#include "support/scripted_prompter.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vellumar;
using vellumar::test::ScriptedPrompter;

class PrintFormatDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheDefaults();
    void columnChoiceSetsColumns_data();
    void columnChoiceSetsColumns();
    void cancelKeepsTheChanges();
    void okAndCancelButtonsEndTheDialog();
    void wideEnoughForItsTitle();
};

void PrintFormatDialogTest::startsWithTheDefaults() {
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Output Format"));
    QCOMPARE(dialog.property("helpTopic").toInt(), 300);
    QCOMPARE(dialog.grpColumns->title(), QStringLiteral("# of Columns"));
    const QStringList choices = {"None", "One (1)", "Two (2)", "Three (3)", "Four (4)"};
    for (int i = 0; i < choices.size(); ++i) {
        QCOMPARE(dialog.ColumnChoice(i)->text(), choices[i]);
        QCOMPARE(dialog.ColumnChoice(i)->isChecked(), i == 0);
    }
    QCOMPARE(dialog.cbBookPage->text(), QStringLiteral("Include Book && Page"));
    QCOMPARE(dialog.cbCategory->text(), QStringLiteral("Include Category"));
    QCOMPARE(dialog.cbFrequency->text(), QStringLiteral("Include Frequency"));
    QVERIFY(dialog.cbBookPage->isChecked());
    QVERIFY(!dialog.cbCategory->isChecked());
    QVERIFY(!dialog.cbFrequency->isChecked());
    QCOMPARE(dialog.bnOK->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.bnCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(format.Font.Face, std::string("System"));
    QCOMPARE(format.Font.Height, 17);
}

void PrintFormatDialogTest::columnChoiceSetsColumns_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i <= 4; ++i) QTest::addRow("choice %d", i) << i;
}

void PrintFormatDialogTest::columnChoiceSetsColumns() {
    QFETCH(int, index);
    OutputFormat format;
    format.Columns = index == 0 ? 3 : 0; // start elsewhere so the click must change it
    TfrmPrintFormat dialog(format);
    dialog.ColumnChoice(index)->click();
    QCOMPARE(format.Columns, index);
}

void PrintFormatDialogTest::cancelKeepsTheChanges() {
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    ScriptedPrompter prompter;
    prompter.Exec<TfrmPrintFormat>(
        [](auto& form) {
            form.ColumnChoice(2)->click();
            form.cbBookPage->click();
            form.cbCategory->click();
            form.cbFrequency->click();
        },
        false);
    QCOMPARE(prompter.Exec(dialog), int(QDialog::Rejected));
    prompter.VerifyDone();
    QCOMPARE(prompter.Last().text, QStringLiteral("Output Format"));
    QCOMPARE(format.Columns, 2);
    QVERIFY(!format.IncludeBookPage);
    QVERIFY(format.IncludeCategory);
    QVERIFY(format.IncludeFrequency);
    // Shown again, the same dialog still shows the choices.
    QVERIFY(dialog.ColumnChoice(2)->isChecked());
    QVERIFY(!dialog.cbBookPage->isChecked());
    QVERIFY(dialog.cbCategory->isChecked());
}

void PrintFormatDialogTest::okAndCancelButtonsEndTheDialog() {
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    ScriptedPrompter prompter;
    prompter.Exec<TfrmPrintFormat>([](auto& form) { form.bnOK->click(); }, false)
        .Exec<TfrmPrintFormat>([](auto& form) { form.bnCancel->click(); }, true);
    QCOMPARE(prompter.Exec(dialog), int(QDialog::Accepted));
    QCOMPARE(prompter.Exec(dialog), int(QDialog::Rejected));
    prompter.VerifyDone();
}

QTEST_MAIN(PrintFormatDialogTest)
// A title wider than the controls (a translation, say) still shows whole.
void PrintFormatDialogTest::wideEnoughForItsTitle() {
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    dialog.setWindowTitle(QStringLiteral("Format der Ausgabe in die Zwischenablage"));
    dialog.show();
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    QVERIFY(dialog.width() > QFontMetrics(title).horizontalAdvance(dialog.windowTitle()));
}

#include "print_format_dialog_test.moc"
