#include "output/qt/clipboard_copy.h"
#include "output/qt/print_format_dialog.h"
#include "platform/qt/text_conversion.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTest>

#include <memory>

using namespace vellumar;
using vellumar::test::ScriptedPrompter;

namespace {

// Caster level 5: 4 spells of level 1 a day and 1 of level 3.
std::unique_ptr<TSpellBook> SampleBook() {
    auto book = std::make_unique<TSpellBook>(5, 14, 0, "Generalist");
    book->AddSpell(new tSpell(1, "Burning Hands", "PHB", 45, 0, "Alteration"));
    book->AddSpell(new tSpell(1, "Tenser\x92s Floating Disc", "PHB", 76, -1, "Evocation"));
    book->AddSpell(new tSpell(3, "Fireball", "PHB", 80, -2, "Evocation"));
    return book;
}

const QString Caption = QString::fromUtf8("C:\\Books\\T\u00e9nser\u2019s.SPB");

const std::string Head = "Spell Book:C:\\Books\\T\xe9nser\x92s.SPB\r\n"
                         "Caster Level: 5\r\n"
                         "Caster Intelligence: 14\r\n"
                         "Caster Specialty: Generalist\r\n"
                         " \r\n";

} // namespace

class ClipboardCopyTest : public QObject {
    Q_OBJECT
private slots:
    void copiesTheBookAsWindows1252Text_data();
    void copiesTheBookAsWindows1252Text();
    void cancelCopiesNothingButKeepsTheChoices();
};

void ClipboardCopyTest::copiesTheBookAsWindows1252Text_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("frequency");
    QTest::addColumn<QByteArray>("expected");
    QTest::addRow("single line")
        << 0 << false
        << QByteArray::fromStdString(
               Head + " \r\n \r\nlevel: 1     number per day: 4\r\n"
                      "Burning Hands [PHB 45],  Tenser\x92s Floating Disc [PHB 76]\r\n"
                      " \r\n \r\nlevel: 3     number per day: 1\r\n"
                      "Fireball [PHB 80]\r\n");
    QTest::addRow("two columns with frequency")
        << 2 << true
        << QByteArray::fromStdString(
               Head + " \r\n \r\nlevel: 1     number per day: 4\r\n"
                      "Burning Hands [PHB 45]-C\tTenser\x92s Floating Disc [PHB 76]-U\r\n"
                      " \r\n \r\nlevel: 3     number per day: 1\r\n"
                      "Fireball [PHB 80]-R\t\r\n");
}

void ClipboardCopyTest::copiesTheBookAsWindows1252Text() {
    QFETCH(int, columns);
    QFETCH(bool, frequency);
    QFETCH(QByteArray, expected);
    auto book = SampleBook();
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    ScriptedPrompter prompter;
    QStringList events;
    prompter.Exec<TfrmPrintFormat>(
        [&](auto& form) {
            events << "dialog";
            form.ColumnChoice(columns)->click();
            if (frequency) form.cbFrequency->click();
        },
        true);
    QGuiApplication::clipboard()->setText(QStringLiteral("previous"));
    QVERIFY(CopySpellbookToClipboard(
        prompter, dialog, format, *book, Caption, [&] { events << "show"; },
        [&] { events << "hide"; }));
    prompter.VerifyDone();
    QCOMPARE(prompter.Last().text, QStringLiteral("Output Format"));
    QCOMPARE(events, (QStringList{"dialog", "show", "hide"}));

    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY2(text.contains(QChar(0x2019)), "byte 0x92 is a right single quotation mark");
    QCOMPARE(QByteArray(QStringEncoder("windows-1252").encode(text)), expected);
}

void ClipboardCopyTest::cancelCopiesNothingButKeepsTheChoices() {
    auto book = SampleBook();
    OutputFormat format;
    TfrmPrintFormat dialog(format);
    ScriptedPrompter prompter;
    prompter.Exec<TfrmPrintFormat>([](auto& form) { form.ColumnChoice(2)->click(); }, false);
    QGuiApplication::clipboard()->setText(QStringLiteral("previous"));
    int working = 0;
    QVERIFY(!CopySpellbookToClipboard(
        prompter, dialog, format, *book, Caption, [&] { ++working; }, [&] { ++working; }));
    prompter.VerifyDone();
    QCOMPARE(working, 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("previous"));
    QCOMPARE(format.Columns, 2);
}

QTEST_MAIN(ClipboardCopyTest)
#include "clipboard_copy_test.moc"
