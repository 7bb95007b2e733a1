// Printer Setup chooses a printer or PDF output and the page, with OK and
// Cancel, and prints nothing.

#include "platform/qt/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumar;

class PrinterSetupDialogTest : public QObject {
    Q_OBJECT
private slots:
    void offersEveryPrinterAndPdfWithOkAndCancel() {
        QPrinter printer(QPrinter::HighResolution);
        PrinterSetupDialog dialog(printer);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Printer Setup"));
        QStringList choices;
        for (int i = 0; i < dialog.cbPrinter->count(); ++i)
            choices << dialog.cbPrinter->itemText(i);
        QCOMPARE(choices, QPrinterInfo::availablePrinterNames() << PrinterSetupDialog::PdfEntry());
        QStringList buttons;
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            buttons << button->text().remove(QLatin1Char('&'));
        QVERIFY(buttons.contains("OK"));
        QVERIFY(buttons.contains("Cancel"));
        QVERIFY(buttons.contains("Page Setup..."));
        QVERIFY(!buttons.contains("Print"));
        // The printer in use is the one shown.
        const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
        QCOMPARE(dialog.cbPrinter->currentText(),
                 pdf ? PrinterSetupDialog::PdfEntry() : printer.printerName());
        QVERIFY(!dialog.lblPage->text().isEmpty());
    }

    void okKeepsThePrinterAndPageChosen() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Portrait);
        PrinterSetupDialog dialog(printer);
        dialog.cbPrinter->setCurrentIndex(dialog.cbPrinter->count() - 1);
        dialog.cbOrientation->setCurrentIndex(1);
        dialog.bnOK->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY(printer.pageLayout().fullRectPoints().width() >
                printer.pageLayout().fullRectPoints().height());
    }

    void cancelPutsEverythingBack() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        const QPrinter::OutputFormat format = printer.outputFormat();
        const QString name = printer.printerName();
        PrinterSetupDialog dialog(printer);
        dialog.cbOrientation->setCurrentIndex(1);
        dialog.cbPrinter->setCurrentIndex(0);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        dialog.bnCancel->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(printer.outputFormat(), format);
        QCOMPARE(printer.printerName(), name);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Letter);
    }

    // Nothing is printed: a printer writing PDF leaves no file behind.
    void printsNothing() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("never.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        PrinterSetupDialog dialog(printer);
        dialog.bnOK->click();
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(printer.outputFileName(), pdf);
    }
};

QTEST_MAIN(PrinterSetupDialogTest)
#include "printer_setup_dialog_test.moc"
